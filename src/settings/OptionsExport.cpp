#include "settings/OptionsExport.h"

#include "settings/ChampsCles.h"
#include "settings/Cles.h"

namespace arbrix {

namespace {

// The last file is kept only for a destination that uses it.
bool EcriteAvec(const DescriptionCle& cle, const OptionsExport& o) {
    if (cle.moment != MomentEcriture::Export)
        return false;
    return cle.champ != ChampCle(&OptionsExport::Fichier) || o.Destination == DestinationExport::Fichier;
}

} // namespace

OptionsExport LitOptionsExport(const QString& fichierIni) {
    const LotIni lot(fichierIni);
    const OptionsExport defauts;
    OptionsExport o;
    for (const DescriptionCle& cle : TableCles())
        LitChamp(lot, cle, o, defauts);
    return o;
}

EcritureIni EcritOptionsExport(const QString& fichierIni, const OptionsExport& o) {
    LotIni lot(fichierIni);
    for (const DescriptionCle& cle : TableCles()) {
        if (EcriteAvec(cle, o))
            EcritChamp(lot, cle, o);
    }
    return lot.Enregistre();
}

} // namespace arbrix

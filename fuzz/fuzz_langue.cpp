// Language files: the "Traduction" section, "{KEY}" references, "<KEY>...</KEY>" blocks, the
// windows' captions and "CodeLangue".

#include "FuzzSupport.h"

#include "i18n/CatalogueFrancais.h"
#include "i18n/Langue.h"
#include "i18n/TraductionFeuille.h"
#include "i18n/Traductions.h"

#include <QFile>
#include <QTemporaryDir>

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

namespace {

const QString& Fichier() {
    static QTemporaryDir dossier;
    static const QString chemin = dossier.path() + u"/Langue.lng"_s;
    return chemin;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile f(Fichier());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    ChargeTraductions(Fichier());
    // Every text of the program has an entry, whatever the file holds.
    FUZZ_CHECK(Catalogue().Count() == TextesParDefaut().size(), QString::number(Catalogue().Count()));
    (void)CodeLangueFichier(Fichier());

    DescriptionFeuille feuille{u"frmPrincipal"_s, u"Arbrix"_s, {}};
    feuille.controles << DescriptionControle{u"cmdAnalyser"_s, -1, GenreControle::Bouton, u"Analyser"_s, {}}
                      << DescriptionControle{u"optType"_s, 1, GenreControle::BoutonOption, u"Groupe"_s, {}}
                      << DescriptionControle{
                             u"tabOptions"_s, -1, GenreControle::Onglets, {}, {u"Un"_s, u"Deux"_s}};
    TraduitFeuille(feuille, Fichier());
    FUZZ_CHECK(feuille.controles.size() == 3 && feuille.controles[2].onglets.size() == 2, feuille.titre);
    return 0;
}

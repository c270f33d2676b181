#include "shell/Sortie.h"

#include "i18n/Traductions.h"
#include "settings/ParametresIni.h"
#include "text/Texte.h"
#include "tree/Interaction.h"

#include <QDir>

namespace arbrix {

namespace {

// Shutdown ignores every error.
template <typename Etape> void SansErreur(Etape&& etape) {
    try {
        etape();
    } catch (...) {
    }
}

// A step that fails adds none of its changes.
template <typename Etape> void EtapeDuLot(LotIni& lot, Etape&& etape) {
    SansErreur([&] {
        LotIni avecEtape = lot;
        etape(avecEtape);
        lot = std::move(avecEtape);
    });
}

} // namespace

Parametres AvecGeometrieDeSortie(Parametres parametres, const FenetreALaFermeture& fenetre) {
    const bool normale = fenetre.etat == EtatFenetre::Normal;
    parametres.FenetreGauche = normale ? fenetre.gauche : 0;
    parametres.FenetreHaut = normale ? fenetre.haut : 0;
    parametres.FenetreEtat =
        static_cast<qint16>(fenetre.etat == EtatFenetre::Minimisee ? EtatFenetre::Normal : fenetre.etat);
    parametres.FenetreLargeur = fenetre.largeur;
    parametres.FenetreHauteur = fenetre.hauteur;
    return parametres;
}

void Termine(const FenetreALaFermeture& fenetre, const EtapesSortie& etapes, Interaction& interaction,
             EtatProgramme& etat) {
    if (etapes.fermeFenetres)
        SansErreur(etapes.fermeFenetres);
    LotIni lot(etat.CheminIni());
    EtapeDuLot(lot, [&](LotIni& l) {
        const DrapeauxSortie drapeaux{etat.ConfigurationModifiee, etat.OptionsFenetreModifiees};
        EcritParametresSortie(l, AvecGeometrieDeSortie(etat.Config, fenetre), drapeaux);
    });
    if (etapes.sauveMemos)
        EtapeDuLot(lot, etapes.sauveMemos);
    EcritureIni ecriture;
    SansErreur([&] { ecriture = EnregistreParametres(lot); });
    SansErreur([&] { SignaleEcritureParametres(ecriture, interaction); });
    if (etapes.retireIconeTray)
        SansErreur(etapes.retireIconeTray);
    if (etat.RedemarrageDemande && etapes.lance)
        SansErreur([&] { etapes.lance(CommandeRedemarrage()); });
}

void SignaleEcritureParametres(const EcritureIni& ecriture, Interaction& interaction) {
    if (!ecriture)
        interaction.Message(MessageEcritureParametres(ecriture), IconeMessage::Exclamation);
}

} // namespace arbrix

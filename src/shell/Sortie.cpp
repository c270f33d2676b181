#include "shell/Sortie.h"

#include "settings/ParametresIni.h"

namespace arbrix {

namespace {

// Shutdown ignores every error.
template <typename Etape> void SansErreur(Etape&& etape) {
    try {
        etape();
    } catch (...) {
    }
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

void Termine(const FenetreALaFermeture& fenetre, const EtapesSortie& etapes, EtatProgramme& etat) {
    if (etapes.fermeFenetres)
        SansErreur(etapes.fermeFenetres);
    SansErreur([&] {
        const DrapeauxSortie drapeaux{etat.ConfigurationModifiee, etat.OptionsFenetreModifiees};
        EcritParametresSortie(etat.CheminIni(), AvecGeometrieDeSortie(etat.Config, fenetre), drapeaux);
    });
    if (etapes.sauveMemos)
        SansErreur([&] { etapes.sauveMemos(etat.CheminIni()); });
    if (etapes.retireIconeTray)
        SansErreur(etapes.retireIconeTray);
    if (etat.RedemarrageDemande && etapes.lance)
        SansErreur([&] { etapes.lance(CommandeRedemarrage()); });
}

} // namespace arbrix

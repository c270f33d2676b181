#include "shell/Sortie.h"

#include "settings/ParametresIni.h"

namespace arbrix {

namespace {

// Shutdown ignores every error.
template <typename Étape> void SansErreur(Étape&& étape) {
    try {
        étape();
    } catch (...) {
    }
}

} // namespace

Paramètres AvecGéométrieDeSortie(Paramètres paramètres, const FenêtreÀLaFermeture& fenêtre) {
    const bool normale = fenêtre.état == ÉtatFenêtre::Normal;
    paramètres.FenêtreGauche = normale ? fenêtre.gauche : 0;
    paramètres.FenêtreHaut = normale ? fenêtre.haut : 0;
    paramètres.FenêtreEtat =
        static_cast<qint16>(fenêtre.état == ÉtatFenêtre::Minimisée ? ÉtatFenêtre::Normal : fenêtre.état);
    paramètres.FenêtreLargeur = fenêtre.largeur;
    paramètres.FenêtreHauteur = fenêtre.hauteur;
    return paramètres;
}

void Termine(const FenêtreÀLaFermeture& fenêtre, const ÉtapesSortie& étapes, ÉtatProgramme& état) {
    if (étapes.fermeFenêtres)
        SansErreur(étapes.fermeFenêtres);
    SansErreur([&] {
        const DrapeauxSortie drapeaux{état.ConfigurationModifiée, état.OptionsFenêtreModifiées};
        EcritParamètresSortie(état.CheminIni(), AvecGéométrieDeSortie(état.Config, fenêtre), drapeaux);
    });
    if (étapes.sauveMémos)
        SansErreur([&] { étapes.sauveMémos(état.CheminIni()); });
    if (étapes.retireIcôneTray)
        SansErreur(étapes.retireIcôneTray);
    if (état.RedémarrageDemandé && étapes.lance)
        SansErreur([&] { étapes.lance(CommandeRedémarrage()); });
}

} // namespace arbrix

#include "groupops/ui/ListeAppartenancesUi.h"

#include "groupops/Appartenances.h"
#include "search/ui/frmListeOccurrences.h"

namespace arbrix {

std::optional<clsOccurrence> ChoisitAppartenance(QWidget* parent, SessionAD& session, const QString& dn,
                                                 Interaction& interaction) {
    const std::optional<Appartenances> liste = ListeAppartenances(session, dn, interaction);
    if (!liste)
        return std::nullopt;
    const std::optional<int> choix = frmListeOccurrences::Choisit(
        parent, liste->groupes, frmListeOccurrences::Usage::Appartenances, liste->titre);
    if (!choix)
        return std::nullopt;
    return liste->groupes.at(*choix);
}

} // namespace arbrix

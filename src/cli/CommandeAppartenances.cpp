#include "cli/CommandeAppartenances.h"

#include "cli/ArgumentsCli.h"
#include "cli/CommandesGroupes.h"
#include "cli/InteractionTerminal.h"
#include "directory/DirectoryError.h"
#include "groupops/AppartenancesEffectives.h"
#include "groupops/OperationsAnnuaire.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"

namespace arbrix {

int CommandeAppartenances(ContexteCommande& c) {
    const QString texte = c.arguments.mots.join(u' ');
    const std::variant<Designation, int> objet = TrouveObjet(c, texte, GenreDesignation::Membre);
    if (const int* code = std::get_if<int>(&objet))
        return *code;
    const QString dn = std::get<Designation>(objet).tag.mid(1);
    std::optional<AppartenancesEffectives> appartenances;
    try {
        appartenances = LitAppartenancesEffectives(c.session, dn, c.arguments.effectives);
    } catch (const DirectoryError& e) {
        c.erreurs << TexteTerminal(TexteErreurOperation(e));
        return 1;
    }
    if (!appartenances) // gone between the lookup and the read
        return 2;
    for (const CheminAppartenance& chemin : std::as_const(appartenances->chemins))
        c.sortie << chemin.dnGroupe << u'\t' << TexteChemin(chemin.noms) << u'\n';
    for (const QStringList& cycle : std::as_const(appartenances->cycles))
        c.erreurs << TexteTerminal(
            FormateMessage(Traduction(u"MSG_APPARTENANCE_CIRCULAIRE"), {TexteChemin(cycle)}));
    if (appartenances->tronque)
        c.erreurs << TexteTerminal(Traduction(u"MSG_APPARTENANCES_TRONQUEES"));
    return 0;
}

} // namespace arbrix

#include "cli/CommandeProprietes.h"

#include "cli/ArgumentsCli.h"
#include "cli/CommandesGroupes.h"
#include "cli/InteractionTerminal.h"
#include "directory/DirectoryError.h"
#include "groupops/OperationsAnnuaire.h"
#include "groupops/ProprietesCompte.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"

namespace arbrix {

int CommandeProprietes(ContexteCommande& c) {
    const QString& dn = c.arguments.mots.first();
    std::optional<ProprietesCompte> proprietes;
    try {
        proprietes = LitProprietesCompte(c.session, dn, QDateTime::currentDateTime());
    } catch (const DirectoryError& e) {
        c.erreurs << TexteTerminal(TexteErreurOperation(e));
        return 1;
    }
    if (!proprietes) {
        c.erreurs << TexteTerminal(FormateMessage(Traduction(u"TXT_PROP_COMPTE_INTROUVABLE"), {dn}));
        return 2;
    }
    // A line break inside a value would start a line of its own.
    auto sur1Ligne = [](QString texte) { return texte.replace(u'\r', u' ').replace(u'\n', u' '); };
    for (const LigneProprietes& ligne : std::as_const(proprietes->lignes))
        c.sortie << ligne.libelle << u'\t' << sur1Ligne(ligne.valeur) << u'\n';
    const QString membreDe = Traduction(u"TXT_PROP_MEMBRE_DE");
    if (proprietes->groupes.isEmpty())
        c.sortie << membreDe << u'\t' << TexteAucunGroupe(proprietes->nom) << u'\n';
    for (const clsOccurrence& groupe : std::as_const(proprietes->groupes))
        c.sortie << membreDe << u'\t' << groupe.Nom << u'\t' << groupe.DistinguishedName << u'\n';
    return 0;
}

} // namespace arbrix

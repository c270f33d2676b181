#include "export/ParcoursExport.h"

#include "tree/Arbre.h"
#include "tree/ClesImages.h"

namespace arbrix {

bool EstConteneur(QChar lettreType) {
    return lettreType == u'O' || lettreType == u'G';
}

bool DescendDans(const Noeud& enfant, const OptionsExport& options) {
    switch (options.Etendue) {
    case EtendueExport::Complete:
        return true;
    case EtendueExport::NoeudsOuverts:
        return enfant.Expanded();
    default:
        return false;
    }
}

bool MembreSelectionne(QChar lettreType, const OptionsExport& options) {
    switch (lettreType.unicode()) {
    case u'U':
        return options.ComptesUtilisateurs;
    case u'C':
        return options.ComptesOrdinateurs;
    case u'S':
        return options.ComptesDeService;
    default:
        return EstAutreMembre(lettreType) && options.AutresMembres;
    }
}

QString NomAfficheDeCompte(const QString& nom, const QString& compte) {
    const QString suffixe = QStringLiteral(" (") + compte.toLower() + u')';
    if (nom.endsWith(suffixe))
        return nom.left(nom.size() - suffixe.size()).trimmed();
    const qsizetype parenthese = nom.lastIndexOf(u" (");
    return parenthese < 0 ? nom : nom.left(parenthese).trimmed();
}

QString NomDuNoeud(const Noeud& noeud) {
    const QString nom = NomDuLibelle(noeud.Text());
    switch (noeud.LettreType().unicode()) {
    case u'U':
    case u'C':
    case u'S':
        return NomAfficheDeCompte(nom, NomDeLaCle(noeud.Key()));
    default:
        // Only accounts carry an account part: a contact's "(Lyon)" belongs to its name.
        return nom.trimmed();
    }
}

} // namespace arbrix

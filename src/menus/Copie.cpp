#include "menus/Copie.h"

#include "menus/MenusNoeuds.h"
#include "tree/Arbre.h"

namespace arbrix {

namespace {
constexpr QChar espaceInsecable(0x00A0);
}

QString TexteSansCompteur(const QString& texte) {
    const qsizetype position = texte.indexOf(espaceInsecable);
    return position < 0 ? texte : texte.left(position);
}

QString NomSansCompte(const QString& libelle) {
    const QString nom = TexteSansCompteur(libelle);
    const qsizetype position = nom.lastIndexOf(u" (");
    return position < 0 ? nom : nom.left(position);
}

QString CompteDeLaCle(const QString& cle) {
    return NomDeLaCle(cle);
}

QString DnDuTag(const QString& tag) {
    return tag.mid(1);
}

std::optional<QString> TexteCopieDuNoeud(int identifiant, const NoeudCopie& noeud) {
    const bool compte =
        noeud.tag.startsWith(u'U') || noeud.tag.startsWith(u'C') || noeud.tag.startsWith(u'S');
    switch (identifiant) {
    case IdMenu::CopierNomCompte:
        return TexteSansCompteur(noeud.libelle);
    case IdMenu::CopierNom:
        return compte ? NomSansCompte(noeud.libelle) : TexteSansCompteur(noeud.libelle);
    case IdMenu::CopierCompte:
        return CompteDeLaCle(noeud.cle);
    case IdMenu::CopierDistinguishedName:
        return DnDuTag(noeud.tag);
    default:
        return std::nullopt;
    }
}

} // namespace arbrix

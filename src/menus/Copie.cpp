#include "menus/Copie.h"

#include "menus/MenusNoeuds.h"

namespace arbrix {

namespace {
constexpr QChar espaceInsécable(0x00A0);
}

QString TexteSansCompteur(const QString& texte) {
    const qsizetype position = texte.indexOf(espaceInsécable);
    return position < 0 ? texte : texte.left(position);
}

QString NomSansCompte(const QString& libellé) {
    const qsizetype position = libellé.indexOf(u" (");
    return TexteSansCompteur(position < 0 ? libellé : libellé.left(position));
}

QString CompteDeLaClé(const QString& clé) {
    return clé.mid(clé.lastIndexOf(u'\\') + 1);
}

QString DnDuTag(const QString& tag) {
    return tag.mid(1);
}

std::optional<QString> TexteCopiéDuNoeud(int identifiant, const NoeudCopié& noeud) {
    const bool compte =
        noeud.tag.startsWith(u'U') || noeud.tag.startsWith(u'C') || noeud.tag.startsWith(u'S');
    switch (identifiant) {
    case IdMenu::CopierNomCompte:
        return TexteSansCompteur(noeud.libellé);
    case IdMenu::CopierNom:
        return compte ? NomSansCompte(noeud.libellé) : TexteSansCompteur(noeud.libellé);
    case IdMenu::CopierCompte:
        return CompteDeLaClé(noeud.clé);
    case IdMenu::CopierDistinguishedName:
        return DnDuTag(noeud.tag);
    default:
        return std::nullopt;
    }
}

QString TexteCtrlC(const QString& libellé) {
    return TexteSansCompteur(libellé);
}

QString TexteCtrlMajC(const QString& libellé) {
    return NomSansCompte(libellé);
}

} // namespace arbrix

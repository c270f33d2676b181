#include "menus/PopupMenu.h"

namespace arbrix {

namespace {

AfficheurMenus& afficheurCourant() {
    static AfficheurMenus afficheur;
    return afficheur;
}

} // namespace

void clsPopupMenu::AddItem(int identifiant, const QString& libellé, int drapeaux) {
    ElémentMenu élément;
    élément.identifiant = identifiant;
    élément.libellé = libellé;
    élément.drapeaux = drapeaux;
    m_éléments.append(élément);
}

void clsPopupMenu::AddItem(int identifiant, const QString& libellé, const clsPopupMenu& sousMenu,
                           int drapeaux) {
    ElémentMenu élément;
    élément.identifiant = identifiant;
    élément.libellé = libellé;
    élément.drapeaux = drapeaux;
    élément.sousMenu = std::make_shared<const clsPopupMenu>(sousMenu);
    m_éléments.append(élément);
}

const ElémentMenu* clsPopupMenu::Elément(int identifiant) const {
    for (const ElémentMenu& élément : m_éléments)
        if (!élément.EstSéparateur() && élément.identifiant == identifiant)
            return &élément;
    return nullptr;
}

int clsPopupMenu::IdentifiantParDéfaut() const {
    for (const ElémentMenu& élément : m_éléments)
        if (!élément.EstSéparateur() && élément.EstParDéfaut())
            return élément.identifiant;
    return -1;
}

int clsPopupMenu::TrackPopup(int x, int y) const {
    const AfficheurMenus& afficheur = afficheurCourant();
    if (!afficheur)
        throw ErreurMenu{QStringLiteral("cMenu.TrackPopup"),
                         QStringLiteral("Cannot find top window of current process!")};
    return afficheur(*this, x, y);
}

void clsPopupMenu::DéfinitAfficheur(AfficheurMenus afficheur) {
    afficheurCourant() = std::move(afficheur);
}

bool clsPopupMenu::AfficheurDéfini() {
    return static_cast<bool>(afficheurCourant());
}

} // namespace arbrix

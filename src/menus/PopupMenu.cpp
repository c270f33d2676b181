#include "menus/PopupMenu.h"

namespace arbrix {

namespace {

AfficheurMenus& afficheurCourant() {
    static AfficheurMenus afficheur;
    return afficheur;
}

} // namespace

void clsPopupMenu::AddItem(int identifiant, const QString& libelle, int drapeaux) {
    ElementMenu element;
    element.identifiant = identifiant;
    element.libelle = libelle;
    element.drapeaux = drapeaux;
    m_elements.append(element);
}

void clsPopupMenu::AddItem(int identifiant, const QString& libelle, const clsPopupMenu& sousMenu,
                           int drapeaux) {
    ElementMenu element;
    element.identifiant = identifiant;
    element.libelle = libelle;
    element.drapeaux = drapeaux;
    element.sousMenu = std::make_shared<const clsPopupMenu>(sousMenu);
    m_elements.append(element);
}

const ElementMenu* clsPopupMenu::Element(int identifiant) const {
    for (const ElementMenu& element : m_elements)
        if (!element.EstSeparateur() && element.identifiant == identifiant)
            return &element;
    return nullptr;
}

int clsPopupMenu::IdentifiantParDefaut() const {
    for (const ElementMenu& element : m_elements)
        if (!element.EstSeparateur() && element.EstParDefaut())
            return element.identifiant;
    return -1;
}

int clsPopupMenu::TrackPopup(int x, int y) const {
    const AfficheurMenus& afficheur = afficheurCourant();
    if (!afficheur)
        throw ErreurMenu{QStringLiteral("cMenu.TrackPopup"),
                         QStringLiteral("Cannot find top window of current process!")};
    return afficheur(*this, x, y);
}

void clsPopupMenu::DefinitAfficheur(AfficheurMenus afficheur) {
    afficheurCourant() = std::move(afficheur);
}

} // namespace arbrix

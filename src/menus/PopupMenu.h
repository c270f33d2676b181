#pragma once

// The popup-menu component: items appended with caller-chosen identifiers, shown at the mouse
// cursor, returning the identifier of the chosen item (0 when dismissed). The core only
// describes the menu; the windows register the presenter that shows it.

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace arbrix {

class clsPopupMenu;

// Item flags, a bit set passed with each item.
namespace DrapeauMenu {
constexpr int Grise = 1;
constexpr int Desactive = 2;
constexpr int ParDefaut = 4; // drawn in bold
constexpr int Coche = 8;
constexpr int NouvelleColonne = 16;
} // namespace DrapeauMenu

struct ElementMenu {
    int identifiant = 0;
    QString libelle; // "-" for a separator; "text<TAB>accelerator" for an item with a shortcut
    int drapeaux = 0;
    std::shared_ptr<const clsPopupMenu> sousMenu; // set for a submenu

    bool EstSeparateur() const { return !sousMenu && libelle == u"-"; }
    bool EstActif() const { return (drapeaux & (DrapeauMenu::Grise | DrapeauMenu::Desactive)) == 0; }
    bool EstParDefaut() const { return (drapeaux & DrapeauMenu::ParDefaut) != 0; }
    bool EstCoche() const { return (drapeaux & DrapeauMenu::Coche) != 0; }
};

// Shows a menu and returns the chosen identifier, 0 when dismissed. x = y = -1: at the cursor.
using AfficheurMenus = std::function<int(const clsPopupMenu& menu, int x, int y)>;

class clsPopupMenu {
public:
    // Appends a text item, or a separator when the caption is "-".
    void AddItem(int identifiant, const QString& libelle, int drapeaux = 0);
    // Appends a submenu under the caption.
    void AddItem(int identifiant, const QString& libelle, const clsPopupMenu& sousMenu, int drapeaux = 0);

    const QList<ElementMenu>& Elements() const { return m_elements; }
    // The item of that identifier (separators excluded), or nullptr.
    const ElementMenu* Element(int identifiant) const;
    // The identifier of the default item, or -1 when there is none.
    int IdentifiantParDefaut() const;

    // Shows the menu through the registered presenter and returns the chosen identifier.
    // Raises ErreurMenu when no presenter (no window of this process) is available.
    int TrackPopup(int x = -1, int y = -1) const;

    // The presenter used by TrackPopup; the windows register theirs, tests a scripted one.
    static void DefinitAfficheur(AfficheurMenus afficheur);

private:
    QList<ElementMenu> m_elements;
};

// Raised by TrackPopup when the menu cannot be shown.
struct ErreurMenu {
    QString source;
    QString texte;
};

} // namespace arbrix

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
constexpr int Grisé = 1;
constexpr int Désactivé = 2;
constexpr int ParDéfaut = 4; // drawn in bold
constexpr int Coché = 8;
constexpr int NouvelleColonne = 16;
} // namespace DrapeauMenu

struct ElémentMenu {
    int identifiant = 0;
    QString libellé; // "-" for a separator; "text<TAB>accelerator" for an item with a shortcut
    int drapeaux = 0;
    std::shared_ptr<const clsPopupMenu> sousMenu; // set for a submenu

    bool EstSéparateur() const { return !sousMenu && libellé == u"-"; }
    bool EstActif() const { return (drapeaux & (DrapeauMenu::Grisé | DrapeauMenu::Désactivé)) == 0; }
    bool EstParDéfaut() const { return (drapeaux & DrapeauMenu::ParDéfaut) != 0; }
    bool EstCoché() const { return (drapeaux & DrapeauMenu::Coché) != 0; }
};

// Shows a menu and returns the chosen identifier, 0 when dismissed. x = y = -1: at the cursor.
using AfficheurMenus = std::function<int(const clsPopupMenu& menu, int x, int y)>;

class clsPopupMenu {
public:
    // Appends a text item, or a separator when the caption is "-".
    void AddItem(int identifiant, const QString& libellé, int drapeaux = 0);
    // Appends a submenu under the caption.
    void AddItem(int identifiant, const QString& libellé, const clsPopupMenu& sousMenu, int drapeaux = 0);

    const QList<ElémentMenu>& Eléments() const { return m_éléments; }
    // The item of that identifier (separators excluded), or nullptr.
    const ElémentMenu* Elément(int identifiant) const;
    // The identifier of the default item, or -1 when there is none.
    int IdentifiantParDéfaut() const;

    // Shows the menu through the registered presenter and returns the chosen identifier.
    // Raises ErreurMenu when no presenter (no window of this process) is available.
    int TrackPopup(int x = -1, int y = -1) const;

    // The presenter used by TrackPopup; the windows register theirs, tests a scripted one.
    static void DéfinitAfficheur(AfficheurMenus afficheur);
    static bool AfficheurDéfini();

private:
    QList<ElémentMenu> m_éléments;
};

// Raised by TrackPopup when the menu cannot be shown.
struct ErreurMenu {
    QString source;
    QString texte;
};

} // namespace arbrix

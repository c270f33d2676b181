#include "menus/ui/MenuQt.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPointer>

namespace arbrix {

void RemplitMenuQt(QMenu& menuQt, const clsPopupMenu& menu) {
    for (const ElémentMenu& élément : menu.Eléments()) {
        if (élément.EstSéparateur()) {
            menuQt.addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (élément.sousMenu) {
            QMenu* sousMenu = menuQt.addMenu(élément.libellé);
            RemplitMenuQt(*sousMenu, *élément.sousMenu);
            action = sousMenu->menuAction();
        } else {
            // The text after a tab is the accelerator, shown right-aligned by the menu.
            action = menuQt.addAction(élément.libellé);
        }
        action->setData(élément.identifiant);
        action->setEnabled(élément.EstActif());
        if (élément.EstCoché()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (élément.EstParDéfaut()) {
            QFont police = action->font();
            police.setBold(true);
            action->setFont(police);
            menuQt.setDefaultAction(action);
        }
    }
}

int AfficheMenuQt(const clsPopupMenu& menu, int x, int y, QWidget* propriétaire) {
    QMenu menuQt(propriétaire);
    menuQt.setObjectName(QStringLiteral("menuContextuel"));
    RemplitMenuQt(menuQt, menu);
    const QPoint position = (x == -1 && y == -1) ? QCursor::pos() : QPoint(x, y);
    const QAction* choisie = menuQt.exec(position);
    return choisie ? choisie->data().toInt() : 0;
}

void InstalleAfficheurMenusQt(QWidget* propriétaire) {
    QPointer<QWidget> fenêtre(propriétaire);
    clsPopupMenu::DéfinitAfficheur([fenêtre](const clsPopupMenu& menu, int x, int y) {
        if (!fenêtre)
            throw ErreurMenu{QStringLiteral("cMenu.TrackPopup"),
                             QStringLiteral("Cannot find top window of current process!")};
        return AfficheMenuQt(menu, x, y, fenêtre);
    });
}

} // namespace arbrix

#include "menus/ui/MenuQt.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPointer>

namespace arbrix {

void RemplitMenuQt(QMenu& menuQt, const clsPopupMenu& menu) {
    for (const ElementMenu& element : menu.Elements()) {
        if (element.EstSeparateur()) {
            menuQt.addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (element.sousMenu) {
            QMenu* sousMenu = menuQt.addMenu(element.libelle);
            RemplitMenuQt(*sousMenu, *element.sousMenu);
            action = sousMenu->menuAction();
        } else {
            // The text after a tab is the accelerator, shown right-aligned by the menu.
            action = menuQt.addAction(element.libelle);
        }
        action->setData(element.identifiant);
        action->setEnabled(element.EstActif());
        if (element.EstCoche()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (element.EstParDefaut()) {
            QFont police = action->font();
            police.setBold(true);
            action->setFont(police);
            menuQt.setDefaultAction(action);
        }
    }
}

int AfficheMenuQt(const clsPopupMenu& menu, int x, int y, QWidget* proprietaire) {
    QMenu menuQt(proprietaire);
    menuQt.setObjectName(QStringLiteral("menuContextuel"));
    RemplitMenuQt(menuQt, menu);
    const QPoint position = (x == -1 && y == -1) ? QCursor::pos() : QPoint(x, y);
    const QAction* choisie = menuQt.exec(position);
    return choisie ? choisie->data().toInt() : 0;
}

void InstalleAfficheurMenusQt(QWidget* proprietaire) {
    QPointer<QWidget> fenetre(proprietaire);
    clsPopupMenu::DefinitAfficheur([fenetre](const clsPopupMenu& menu, int x, int y) {
        if (!fenetre)
            throw ErreurMenu{QStringLiteral("cMenu.TrackPopup"),
                             QStringLiteral("Cannot find top window of current process!")};
        return AfficheMenuQt(menu, x, y, fenetre);
    });
}

} // namespace arbrix

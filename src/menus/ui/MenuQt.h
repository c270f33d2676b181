#pragma once

// Shows the popup-menu component's menus as Qt menus.

#include "menus/PopupMenu.h"

#include <QPoint>

class QMenu;
class QWidget;

namespace arbrix {

// Builds the Qt menu of a component menu; each action carries its identifier as data.
void RemplitMenuQt(QMenu& menuQt, const clsPopupMenu& menu);

// Shows the menu at (x, y) in screen pixels, or at the cursor for (-1, -1), and returns the chosen
// identifier, 0 when dismissed.
int AfficheMenuQt(const clsPopupMenu& menu, int x, int y, QWidget* proprietaire);

// Registers AfficheMenuQt as the component's presenter, owned by the given window.
void InstalleAfficheurMenusQt(QWidget* proprietaire);

} // namespace arbrix

#pragma once

// What every dialog does when it loads: translate its texts and follow the main window's
// always-on-top option.

#include <QList>
#include <QString>

class QMenu;
class QWidget;

namespace arbrix {

// Translates the window's caption (key: its objectName) and the texts of its named labels,
// buttons, check boxes, option buttons, frames, text boxes and tab strips (key: the control's
// objectName; "optAccèsAD_1" is item 1 of the control array "optAccèsAD", key "optAccèsAD(1)").
void TraduitFenetre(QWidget* fenetre);
// Translates the given controls, the menus' titles and their items, in the same way; the window's
// caption stays as it is.
void TraduitControles(const QWidget* fenetre, const QList<QWidget*>& controles, const QList<QMenu*>& menus);

// Puts the window in the always-on-top layer or takes it out, keeping it shown.
void AppliquePremierPlan(QWidget* fenetre, bool auDessus);
// A dialog follows the option of the window it belongs to: on top when that window is.
void AppliquePremierPlanDuParent(QWidget* dialogue);

} // namespace arbrix

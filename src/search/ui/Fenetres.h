#pragma once

// What every dialog does when it loads: translate its texts and follow the main window's
// always-on-top option.

#include <QList>
#include <QString>
#include <QTreeWidgetItem>

class QMenu;
class QTreeWidget;
class QWidget;

namespace arbrix {

// Translates the window's caption (key: its objectName) and the texts of its named labels,
// buttons, check boxes, option buttons, frames, text boxes and tab strips (key: the control's
// objectName; "optAccèsAD_1" is item 1 of the control array "optAccèsAD", key "optAccèsAD(1)").
void TraduitFenetre(QWidget* fenetre);
// Translates the given controls, the menus' titles and their items, in the same way; the window's
// caption stays as it is.
void TraduitControles(const QWidget* fenetre, const QList<QWidget*>& controles, const QList<QMenu*>& menus);

// A row of a list whose columns sort in the order of the user's language ("Équipe" before "Ventes").
class LigneTriable : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& autre) const override;
};

// A click on a column's header sorts the list by that column, a second click the other way; the
// rows keep the order they were given until then. Each column is as wide as its longest text,
// the last one too, and the list scrolls sideways: nothing is cut short.
void TriParEnTete(QTreeWidget* liste);

// Puts the window in the always-on-top layer or takes it out, keeping it shown.
void AppliquePremierPlan(QWidget* fenetre, bool auDessus);
// A dialog follows the option of the window it belongs to: on top when that window is.
void AppliquePremierPlanDuParent(QWidget* dialogue);

} // namespace arbrix

#pragma once

// The legend of the tree's icons: each icon beside what it stands for.

#include <QDialog>

namespace arbrix {

class frmLegende : public QDialog {
    Q_OBJECT
public:
    explicit frmLegende(QWidget* parent = nullptr);
    // Shows the legend modally.
    static void Affiche(QWidget* parent);
};

} // namespace arbrix

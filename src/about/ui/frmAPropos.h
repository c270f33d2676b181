#pragma once

// The about box: the program's title and version and what the tool is for.

#include <QDialog>

class QLabel;
class QPushButton;

namespace arbrix {

class frmAPropos : public QDialog {
    Q_OBJECT
public:
    explicit frmAPropos(QWidget* parent = nullptr);

    // Shows the box modally over parent.
    static void Affiche(QWidget* parent);

private:
    QLabel* lblTitre = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescriptionOutil = nullptr;
    QPushButton* btnOK = nullptr;
};

} // namespace arbrix

#pragma once

// The main window's status bar: the directory, the identity, the mode and the node count. The
// tree's changes gather into one update once an operation is done.

#include "shell/BarreEtat.h"

#include <QObject>

#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace arbrix {

class Arbre;

class BarreEtatFenetre : public QObject {
    Q_OBJECT
public:
    // calcule gives the texts as they are now; pendantConstruction is true while a build runs,
    // when the bar waits for its end.
    BarreEtatFenetre(QStatusBar* barre, Arbre& arbre, std::function<TextesBarreEtat()> calcule,
                     std::function<bool()> pendantConstruction);

    void MetAJour();

private:
    std::function<TextesBarreEtat()> m_calcule;
    QLabel* lblBarreAnnuaire = nullptr;
    QLabel* lblBarreIdentite = nullptr;
    QLabel* lblBarreMode = nullptr;
    QLabel* lblBarreNoeuds = nullptr;
    QTimer* tmrBarreEtat = nullptr;
};

} // namespace arbrix

#pragma once

// One object found by a lookup by name: what the occurrence list shows and what the chosen row
// gives to the analysis.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace arbrix {

struct clsOccurrence {
    QString Nom;              // the "name" attribute
    qint16 TypeObjet = 0;     // 0 O.U., 1 group
    QString Description;      // empty when the object has none
    QString TypeObjetEnTexte; // translated type: "O.U.", "Groupe de sécurité - Global", ...
    QString DistinguishedName;
};

using ListeOccurrences = QList<clsOccurrence>;

} // namespace arbrix

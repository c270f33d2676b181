#pragma once

// The program's command line: the whole trimmed line is the starting point of a first analysis,
// a distinguished name of an O.U. ("OU=...") or of a group ("CN=..."), or else a name to search.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace arbrix {

inline constexpr qint16 TypeRechercheOU = 0;
inline constexpr qint16 TypeRechercheGroupe = 1;

struct PointDeDepart {
    bool analyser = false;             // the line names something
    qint16 type = TypeRechercheGroupe; // O.U. or group choice of the search box
    QString dn;                        // the distinguished name; empty for a name to search
    QString texteRecherche;            // the name for the search box (untrimmed), when not a DN
};

// The prefixes are compared with case: a line starting "cn=" is a name to search.
PointDeDepart InterpreteLigneCommande(const QString& ligne);

// The arguments (program name excluded) joined by single spaces: the line a new instance sees.
QString LigneCommandeDesArguments(const QStringList& arguments);

// The running program's arguments, program name excluded.
QStringList ArgumentsDuProgramme();

} // namespace arbrix

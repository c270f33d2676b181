#pragma once

// The texts of the main window's status bar: which directory it shows, as whom, in which
// analysis mode, and how large the tree is.

#include <QString>
#include <QStringList>

namespace arbrix {

class SessionAD;

struct TextesBarreEtat {
    QString annuaire; // server URIs or the embedded directory's file
    QString identite; // the bound login, or the Kerberos principal in mode 0
    QString mode;     // the analysis mode's text; empty for the standard mode
    QString noeuds;   // the node count; empty while the tree is empty
};

// session may be null (no session yet): the directory and identity are then empty.
TextesBarreEtat CalculeTextesBarreEtat(const SessionAD* session, qint16 modeAnalyse, qsizetype nombreNoeuds);

} // namespace arbrix

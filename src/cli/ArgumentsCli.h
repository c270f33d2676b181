#pragma once

// The command line of arbrix-cli:
//   arbrix-cli [--directory SOURCE] [--type ou|group] [--mode 1-6] [--settings FILE]
//              [--set KEY=VALUE]... [--user LOGIN] [--password-file FILE] [--output FILE]
//              NAME-OR-DN
// Options take their value as the next argument or after "=" ("--mode=2"); "--" ends the options.
// The words left form NAME-OR-DN, joined by single spaces, so an unquoted name with spaces works.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace arbrix {

struct ReglageCli {
    QString cle;
    QString valeur;
};

struct ArgumentsCli {
    bool aide = false;
    std::optional<QString> source;            // --directory: a server URI or an .ldif path
    std::optional<int> type;                  // --type: 0 O.U., 1 group
    std::optional<int> mode;                  // --mode: analysis mode 1 to 6
    std::optional<QString> fichierReglages;   // --settings
    QList<ReglageCli> reglages;               // --set, in command-line order
    std::optional<QString> utilisateur;       // --user
    std::optional<QString> fichierMotDePasse; // --password-file
    std::optional<QString> fichierSortie;     // --output: the export goes to this file
    QString nomOuDn;
};

// A fault of the command line: the key of its text (see cli/TextesCli.h) and the argument in cause.
struct ErreurArgumentsCli {
    QString cle;
    QString argument;
};

struct AnalyseArgumentsCli {
    ArgumentsCli arguments; // what could be read, even when erreur is set
    std::optional<ErreurArgumentsCli> erreur;
};

// Reads the arguments (without the program name). Never raises.
AnalyseArgumentsCli LitArgumentsCli(const QStringList& arguments);

} // namespace arbrix

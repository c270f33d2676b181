#pragma once

// The command line of arbrix-cli:
//   arbrix-cli [COMMAND] [--directory SOURCE] [--type ou|group] [--mode 1-6] [--settings FILE]
//              [--set KEY=VALUE]... [--user LOGIN] [--password-file FILE] [command options] WORDS
// COMMAND is the first word when it names one (CommandesCli); "tree", the analysis, when not.
// Options take their value as the next argument or after "=" ("--mode=2"); "--" ends the options.
// For the analysis the words form NAME-OR-DN, joined by single spaces, so an unquoted name with
// spaces works; the other commands take their words one by one.

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace arbrix {

struct ReglageCli {
    QString cle;
    QString valeur;
};

// A command of arbrix-cli: its name and how many words it takes (-1: no limit).
struct CommandeCli {
    QString nom;
    int motsMin;
    int motsMax;
    QString usage; // "create-group PARENT NAME", as the help writes it
};

// Every command; the first is the analysis, run when none is named.
const QList<CommandeCli>& CommandesCli();
inline const QString CommandeArbre = QStringLiteral("tree");

struct ArgumentsCli {
    bool aide = false;
    bool bavard = false;  // --verbose: the log on standard error
    bool version = false; // --version
    QString commande = CommandeArbre;
    QStringList mots;                         // the words after the command, as given
    std::optional<int> typeGroupe;            // --security (0), --distribution (1)
    std::optional<int> etendueGroupe;         // --scope local|global|universal: 0, 1, 2
    bool confirme = false;                    // --yes
    bool effectives = false;                  // --effective
    std::optional<QString> source;            // --directory: a server URI or an .ldif path
    std::optional<int> type;                  // --type: 0 O.U., 1 group
    std::optional<int> mode;                  // --mode: analysis mode 1 to 6
    std::optional<QString> fichierReglages;   // --settings
    QList<ReglageCli> reglages;               // --set, in command-line order
    std::optional<QString> utilisateur;       // --user
    std::optional<QString> fichierMotDePasse; // --password-file
    std::optional<QString> fichierMessage;    // --message-file
    QString sujet;                            // --subject
    std::optional<QString> fichierSortie;     // --output: the export goes to this file
    qint16 typeExport = 0;                    // --format text|csv|json: TypeExport
    std::optional<qint16> finLigne;           // --line-ending crlf|lf: FinLigneExport (csv only)
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

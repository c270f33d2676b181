#pragma once

// What an analysis run from the terminal came to, read from the tree it left and the messages it
// showed: the exit status of the command-line program.

#include "cli/InteractionTerminal.h"

namespace arbrix {

class Arbre;

enum class IssueAnalyse {
    Arborescence,     // a tree was built (a recursion report is not a failure)
    AucunOuPlusieurs, // no object, or several to choose from
    Erreur,           // anything else
};

// Exit statuses of arbrix-cli.
int CodeSortie(IssueAnalyse issue);

IssueAnalyse IssueDeLAnalyse(const Arbre& arbre, const InteractionTerminal& interaction);

// True when the text is the catalogue text of that key with its "%v" filled by any values; when
// premièreValeur is given, the first "%v" must hold exactly that value.
bool EstMessage(const QString& texte, const QString& clé, const QString& premièreValeur = {});

// The messages that say the root does not exist: unknown name, unknown DN, or a root that the
// build no longer found (error 2220).
bool EstMessageIntrouvable(const QString& texte);
// The recursion report shown after a successful build.
bool EstMessageRécursivité(const QString& texte);

} // namespace arbrix

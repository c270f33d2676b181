#pragma once

// arbrix-cli: the analysis and export of an O.U. or a group, and the group commands, from a
// terminal, for scripts and for people without a desktop. The export and the changes made go to
// sortie, messages to erreurs (see --help).

#include <QStringList>
#include <QTextStream>

namespace arbrix {

// Runs the program on its arguments (program name excluded); returns the exit status: 0 when a
// tree was built or all that was asked was done, 2 when no object or several were found, 1 on
// any other error or refusal.
int runCli(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs);

} // namespace arbrix

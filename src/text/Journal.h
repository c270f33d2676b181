#pragma once

// The program's log, for the cases that still go wrong: off by default, on with
// "arbrix-cli --verbose" or QT_LOGGING_RULES (for instance "arbrix.*.debug=true"). It never holds a
// password nor an attribute's values.

#include <QLoggingCategory>

namespace arbrix {

Q_DECLARE_LOGGING_CATEGORY(lcAnnuaire)   // "arbrix.directory": each request and its result
Q_DECLARE_LOGGING_CATEGORY(lcAnalyse)    // "arbrix.analysis": each build and how it ended
Q_DECLARE_LOGGING_CATEGORY(lcOperations) // "arbrix.operations": each change asked of the directory

// Turns every category of the program on (arbrix-cli --verbose).
void ActiveJournalComplet();

} // namespace arbrix

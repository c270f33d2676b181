#include "text/Journal.h"

namespace arbrix {

Q_LOGGING_CATEGORY(lcAnnuaire, "arbrix.directory", QtWarningMsg)
Q_LOGGING_CATEGORY(lcAnalyse, "arbrix.analysis", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOperations, "arbrix.operations", QtWarningMsg)

void ActiveJournalComplet() {
    QLoggingCategory::setFilterRules(QStringLiteral("arbrix.*.debug=true\narbrix.*.info=true"));
}

} // namespace arbrix

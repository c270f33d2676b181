#pragma once

// The command-line program run in the test's process, its two streams kept.

#include "cli/Cli.h"

#include <QTextStream>

namespace arbrix::test {

struct Resultat {
    int code = -1;
    QString sortie;
    QString erreurs;
};

inline Resultat LanceCli(const QStringList& arguments) {
    Resultat r;
    QTextStream sortie(&r.sortie);
    QTextStream erreurs(&r.erreurs);
    r.code = runCli(arguments, sortie, erreurs);
    return r;
}

} // namespace arbrix::test

// arbrix-cli's command line: the input's NUL bytes separate the arguments.

#include "FuzzSupport.h"

#include "cli/ArgumentsCli.h"

using namespace arbrix;
using namespace arbrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments;
    for (const QByteArray& partie : Parties(data, size))
        arguments << QString::fromUtf8(partie);
    const AnalyseArgumentsCli lus = LitArgumentsCli(arguments);
    const ArgumentsCli& a = lus.arguments;
    if (!lus.erreur) {
        FUZZ_CHECK(!a.type || *a.type == 0 || *a.type == 1, arguments.join(u' '));
        FUZZ_CHECK(!a.mode || (*a.mode >= 1 && *a.mode <= 6), arguments.join(u' '));
        for (const ReglageCli& r : a.reglages)
            FUZZ_CHECK(!r.cle.isEmpty(), arguments.join(u' '));
    }
    return 0;
}

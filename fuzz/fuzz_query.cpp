// Query texts in both dialects (SQL form and "<LDAP://base>;(filter);attributes").

#include "FuzzSupport.h"

#include "directory/DirectoryError.h"
#include "directory/Query.h"

using namespace arbrix;
using namespace arbrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString texte = Texte(data, size);
    try {
        const RequeteTraduite traduite = TraduitRequete(texte);
        // No backend ever receives a filter it could not parse.
        FUZZ_CHECK(FiltreBienForme(traduite.requete.filter),
                   texte + QStringLiteral(" -> ") + traduite.requete.filter);
    } catch (const DirectoryError& e) {
        FUZZ_CHECK(e.number() == ErrorNumber::QuerySyntax || e.number() == ErrorNumber::BadPathName, texte);
    }
    return 0;
}

// LDIF files loaded as the embedded directory, then read back whole.

#include "FuzzSupport.h"

#include "directory/memory/MemoryBackend.h"

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<MemoryBackend> annuaire;
    try {
        annuaire = MemoryBackend::fromText(Octets(data, size), u"fuzz.ldif"_s);
    } catch (const LdifError&) {
        return 0;
    }
    try {
        annuaire->bind({}, {});
        SearchRequest tout;
        tout.base = annuaire->namingContext();
        tout.filter = u"(objectClass=*)"_s;
        tout.attributes = {u"*"_s, u"memberOf"_s, u"tokenGroups"_s};
        const QList<LdapEntry> entrees = searchAll(*annuaire, tout);
        FUZZ_CHECK(entrees.size() <= annuaire->entryCount(), QString::number(entrees.size()));
    } catch (const LdapError&) {
        // A directory without a domain (or refusing an anonymous read) answers with an error.
    }
    return 0;
}

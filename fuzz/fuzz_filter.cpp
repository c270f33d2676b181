// LDAP search filters in their string form.

#include "FuzzSupport.h"

#include "directory/Filter.h"
#include "directory/Query.h"

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)ParseFilter(Texte(data, size));

    // Any bytes, escaped, come back as the value of an equality.
    const QByteArray valeur = Octets(data, size);
    const QString filtre = u"(cn="_s + EscapeFilterBytes(valeur) + u')';
    const std::optional<FilterNode> lu = ParseFilter(filtre);
    FUZZ_CHECK(lu && lu->kind == FilterNode::Kind::Equality && lu->value == valeur, filtre);

    // A user's text keeps its wildcards and nothing else.
    const QString generique = u"(cn="_s + EchappeValeurFiltreGenerique(Texte(data, size)) + u')';
    FUZZ_CHECK(ParseFilter(generique).has_value(), generique);
    return 0;
}

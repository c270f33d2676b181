// What a domain controller sends back for multi-valued attributes: ranged names
// ("member;range=0-1499") answered slice after slice, and the values typed for callers. The
// input's NUL-separated parts are the first name, the names of later answers, and values.

#include "FuzzSupport.h"

#include "directory/Values.h"
#include "directory/ldap/LdapRange.h"

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

namespace {

// The reading loop of the backend, against a server that answers with the names given.
void SuitLesTranches(const QList<QByteArray>& parties, int taille) {
    std::optional<PlageValeurs> plage = AnalysePlage(QString::fromUtf8(parties.first()));
    for (qsizetype i = 1; plage && !plage->derniere && i < parties.size(); ++i) {
        const QString demande = PlageSuivante(*plage, taille);
        const std::optional<PlageValeurs> demandee = AnalysePlage(demande);
        FUZZ_CHECK(demandee && demandee->debut == plage->fin + 1 &&
                       demandee->attribut.compare(plage->attribut, Qt::CaseInsensitive) == 0,
                   demande);
        const std::optional<PlageValeurs> suivante = TrancheSuivante(*plage, QString::fromUtf8(parties[i]));
        if (!suivante)
            return;
        FUZZ_CHECK(suivante->debut > plage->fin, QString::fromUtf8(parties[i]));
        plage = suivante;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parties = Parties(data, size);
    const int taille = size > 0 ? int(data[size - 1]) * 37 : 0;
    SuitLesTranches(parties, taille);
    (void)AttributsAvecPlage({QString::fromUtf8(parties.first()), u"member"_s}, taille);

    LdapAttribute attribut{QString::fromUtf8(parties.first()), parties.mid(1)};
    if (std::optional<PlageValeurs> plage = AnalysePlage(attribut.name))
        attribut.name = plage->attribut;
    const QVariant valeur = valeurAttribut(attribut);
    (void)octetsValeur(valeur);
    for (const QByteArray& v : attribut.values)
        (void)DateDepuisFiletime(v.toLongLong());
    return 0;
}

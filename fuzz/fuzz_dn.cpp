// Distinguished names and "LDAP://" paths as the directory and the user write them.

#include "FuzzSupport.h"

#include "directory/Dn.h"

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

namespace {

void VerifieRelecture(const QString& texte, const Dn& dn) {
    const std::optional<Dn> relu = Dn::parse(dn.toString());
    FUZZ_CHECK(relu, u"written back: "_s + dn.toString());
    FUZZ_CHECK(relu->normalized() == dn.normalized(), texte + u" -> "_s + dn.toString());
    FUZZ_CHECK(DnNormalise(texte) == dn.normalized(), texte);
    FUZZ_CHECK(dn.isEmpty() ||
                   DnEgaux(DnRdn(texte) + (dn.size() > 1 ? u","_s + DnParent(texte) : QString()), texte),
               texte);
}

// Every value, escaped again, reads back as itself.
void VerifieEchappement(const Dn& dn) {
    for (const Rdn& rdn : dn.rdns()) {
        for (const RdnAttribute& a : rdn.attributes) {
            const QString ecrit = u"CN="_s + EchappeValeurDn(a.value);
            const std::optional<Rdn> relu = AnalyseRdn(ecrit);
            FUZZ_CHECK(relu && relu->attributes.size() == 1 && relu->attributes.first().value == a.value,
                       ecrit);
        }
    }
}

void VerifieChemin(const QString& texte, const Dn& dn) {
    if (dn.isEmpty() || texte.compare(u"RootDSE"_s, Qt::CaseInsensitive) == 0)
        return;
    const std::optional<CheminLdap> chemin = AnalyseCheminLdap(ComposeCheminLdap(u"dc1.test"_s, texte));
    FUZZ_CHECK(chemin && chemin->serveur == u"dc1.test"_s && chemin->dn == texte, texte);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString texte = Texte(data, size);
    (void)RdnDepuisSaisie(texte);
    (void)AnalyseCheminLdap(texte);
    (void)DnValeurRdn(texte);
    const std::optional<Dn> dn = Dn::parse(texte);
    if (!dn)
        return 0;
    VerifieRelecture(texte, *dn);
    VerifieEchappement(*dn);
    VerifieChemin(texte, *dn);
    return 0;
}

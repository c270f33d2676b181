#include "directory/ForwardingBackend.h"
#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QByteArray domain = R"(dn: DC=o'brien,DC=test
objectClass: domainDNS

dn: OU=A/B,DC=o'brien,DC=test
objectClass: organizationalUnit
)";

std::shared_ptr<Backend> backend(const QByteArray& text = domain) {
    return std::shared_ptr<Backend>(MemoryBackend::fromText(text).release());
}

SessionAD session(std::shared_ptr<Backend> b, qint16 mode, const QString& domainName = {},
                  const QString& login = {}) {
    AccesAnnuaire acces;
    acces.AccesAD = mode;
    acces.AccesADDomaine = domainName;
    acces.AccesADLogin = login;
    acces.AccesADPassword = u"pw"_s;
    SessionAD s(std::move(b), acces);
    s.definitNomUtilisateurSysteme([] { return u"alice"_s; });
    return s;
}

// A store whose RootDSE cannot be read, or whose root cannot be bound.
class ScriptedBackend : public ForwardingBackend {
public:
    ScriptedBackend()
        : ForwardingBackend(backend()) {}
    bool rootDseAnswers = true;
    bool rootReadable = true;
    std::unique_ptr<SearchCursor> search(const SearchRequest& r) override {
        if (r.base.isEmpty() && !rootDseAnswers)
            throw LdapError(LdapCode::ServerDown, u"Can't contact LDAP server"_s);
        if (!r.base.isEmpty() && !rootReadable)
            throw LdapError(LdapCode::NoSuchObject, u"no such object"_s);
        return ForwardingBackend::search(r);
    }
};

} // namespace

TEST(Session, ModeZeroResolvesTheRootAndDoublesQuotes) {
    SessionAD s = session(backend(), 0);
    const ResultatSession r = s.Ouvre();
    ASSERT_TRUE(r.reussi()) << r.texte.toStdString();
    EXPECT_EQ(s.BaseRechercheAD(), u"DC=o''brien,DC=test"_s);
    EXPECT_EQ(s.ContexteNommage(), u"DC=o'brien,DC=test"_s);
    EXPECT_EQ(s.UtilisateurAffiche(), u"alice@o'brien.test"_s);
    EXPECT_FALSE(s.ConnexionAD()
                     .Execute(searchRequest(s.ContexteNommage(), SearchScope::Subtree, u"(name=A/B)"_s, {}))
                     .Eof())
        << "the naming context, quote included, is a search base";
    auto ou = s.OuvreADSI(s.CheminObjet(u"OU=A/B,DC=o'brien,DC=test"_s));
    ASSERT_NE(ou, nullptr);
    EXPECT_EQ(ou->Name(), u"OU=A/B"_s);
    EXPECT_EQ(s.OuvreADSI(u"not a path"_s), nullptr);
}

TEST(Session, ModeTwoUsesTheConfiguredDomainAsBaseAndPrefix) {
    SessionAD s =
        session(backend(domain + "\ndn: CN=adm,DC=o'brien,DC=test\nobjectClass: user\nsAMAccountName: adm\n"
                                 "userAccountControl: 512\n"),
                2, u"o'brien.test"_s, u"adm"_s);
    const ResultatSession r = s.Ouvre();
    ASSERT_TRUE(r.reussi()) << r.texte.toStdString();
    EXPECT_EQ(s.BaseRechercheAD(), u"o''brien.test"_s);
    EXPECT_EQ(s.UtilisateurAffiche(), u"adm@o'brien.test"_s);
    EXPECT_EQ(s.CheminObjet(u"OU=A/B,DC=o'brien,DC=test"_s),
              u"LDAP://o''brien.test/OU=A\\/B,DC=o'brien,DC=test"_s);
    EXPECT_NE(s.OuvreADSI(s.CheminObjet(u"OU=A/B,DC=o'brien,DC=test"_s)), nullptr);
    const std::unique_ptr<DirectoryObject> root = s.OuvreADSI(u"LDAP://"_s + s.BaseRechercheAD());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->dn(), u"DC=o'brien,DC=test"_s) << "the domain alone names its naming context";
}

TEST(Session, FailuresAreResultsNeverExceptions) {
    // Wrong password (mode 1): the root cannot be found.
    SessionAD wrong =
        session(backend(domain + "\ndn: CN=adm,DC=o'brien,DC=test\nobjectClass: user\nsAMAccountName: adm\n"
                                 "userAccountControl: 514\n"),
                1, {}, u"adm"_s);
    ResultatSession r = wrong.Ouvre();
    EXPECT_EQ(r.issue, IssueSession::EchecRacine);
    EXPECT_EQ(r.numero, ErrorNumber::QueryAccessDenied);
    EXPECT_TRUE(r.texte.contains(u"data 533"_s)) << r.texte.toStdString();
    // Mode 2 on a domain nobody answers for.
    EXPECT_EQ(session(backend(), 2, u"elsewhere.test"_s, u"adm"_s).Ouvre().issue, IssueSession::EchecRacine);
    auto scripted = std::make_shared<ScriptedBackend>();
    scripted->rootDseAnswers = false;
    EXPECT_EQ(session(scripted, 0).Ouvre().issue, IssueSession::EchecRacine);
    scripted->rootDseAnswers = true;
    scripted->rootReadable = false;
    r = session(scripted, 0).Ouvre();
    EXPECT_EQ(r.issue, IssueSession::EchecAcces);
    EXPECT_EQ(r.numero, ErrorNumber::NoSuchObject);
}

TEST(Session, ProgramWideShortcutsAndUserNames) {
    InstalleSession(nullptr);
    EXPECT_THROW(ConnexionAD(), DirectoryError);
    EXPECT_EQ(OuvreADSI(u"LDAP://RootDSE"_s), nullptr);
    auto s = std::make_shared<SessionAD>(session(backend(), 0));
    ASSERT_TRUE(s->Ouvre().reussi());
    InstalleSession(s);
    EXPECT_EQ(BaseRechercheAD(), u"DC=o''brien,DC=test"_s);
    EXPECT_NE(OuvreADSI(u"LDAP://RootDSE"_s), nullptr);
    InstalleSession(nullptr);
    EXPECT_EQ(PrincipalDepuisKlist(
                  u"Ticket cache: FILE:/tmp/krb5cc_0\nDefault principal: alice@EXAMPLE.TEST\n\n"_s),
              u"alice@EXAMPLE.TEST"_s);
    EXPECT_TRUE(PrincipalDepuisKlist(u"klist: No credentials cache found\n"_s).isEmpty());
    EXPECT_EQ(NomDnsDepuisDn(u"DC=a,DC=b,DC=c"_s), u"a.b.c"_s);
}

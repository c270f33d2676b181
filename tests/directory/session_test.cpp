#include "directory/Dn.h"
#include "directory/ForwardingBackend.h"
#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"

#include <QDataStream>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

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
    // Batched searches meet the same failures.
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override {
        return Backend::searchBatch(maxInFlight);
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

namespace {

// A credentials cache in the file format kinit writes (version 4), naming its principal and
// holding no ticket yet; no KDC is needed to make one.
QByteArray CacheKerberos(const QByteArray& nom, const QByteArray& royaume) {
    QByteArray octets;
    QDataStream flux(&octets, QIODevice::WriteOnly); // big-endian, as the format wants
    const auto compte = [&](const QByteArray& texte) {
        flux << quint32(texte.size());
        flux.writeRawData(texte.constData(), int(texte.size()));
    };
    flux << quint16(0x0504) << quint16(0); // version, no header tags
    flux << quint32(1) << quint32(1);      // KRB5_NT_PRINCIPAL, one component
    compte(royaume);
    compte(nom);
    return octets;
}

} // namespace

TEST(Session, ModeZeroUserIsTheCachePrincipalWhateverTheLanguage) {
    const QList<const char*> noms = {"KRB5CCNAME", "LANG", "USER"};
    QList<std::optional<QByteArray>> avant;
    for (const char* nom : noms)
        avant.append(qEnvironmentVariableIsSet(nom) ? std::optional(qgetenv(nom)) : std::nullopt);
    const auto remet = qScopeGuard([&] {
        for (qsizetype i = 0; i < noms.size(); ++i)
            avant[i] ? qputenv(noms[i], *avant[i]) : qunsetenv(noms[i]);
    });
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(u"krb5cc"_s);
    QFile cache(chemin);
    ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    cache.write(CacheKerberos("alice", "EXAMPLE.TEST"));
    cache.close();
    // Under German the krb5 tools say "Standard-Principal:"; the cache itself is language-free.
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("USER", "login");
    qputenv("KRB5CCNAME", QFile::encodeName(u"FILE:"_s + chemin));
    EXPECT_EQ(NomUtilisateurSysteme(), u"alice"_s);
    qputenv("KRB5CCNAME", QFile::encodeName(u"FILE:"_s + dossier.filePath(u"absent"_s)));
    EXPECT_EQ(NomUtilisateurSysteme(), u"login"_s);
}

// What only the embedded directory shows: loading, defaults a domain controller sets, binds, changes.

#include "directory/Gateway.h"
#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"

#include <gtest/gtest.h>

#include <QtEndian>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QByteArray smallDomain = R"(version: 1

# A comment
# that is folded
dn: OU=Ventes,DC=example,DC=test
objectClass: organizationalUnit

dn: CN=Anne Lo
 ng,OU=Ventes,DC=example,DC=test
objectClass: user
sAMAccountName: along
displayName:: w4lsb2TDrmU=
lockoutTime: 5

dn: CN=PC1,OU=Ventes,DC=example,DC=test
objectClass: computer
sAMAccountName: PC1$

dn: CN=G1,OU=Ventes,DC=example,DC=test
# arbrix: read-only
objectClass: group
member: CN=Anne Long,OU=Ventes,DC=example,DC=test
memberOf: CN=Ignored,DC=example,DC=test

dn: CN=G2,OU=Ventes,DC=example,DC=test
objectClass: group
sAMAccountName: G2

dn: CN=G2,OU=Ventes,DC=example,DC=test
changetype: modify
add: member
member: CN=PC1,OU=Ventes,DC=example,DC=test
member: CN=G1,OU=Ventes,DC=example,DC=test
-
replace: description
description: deux
-
)";

std::unique_ptr<MemoryBackend> small() {
    return MemoryBackend::fromText(smallDomain, u"small.ldif"_s);
}

LdapEntry read(Backend& backend, const QString& dn, const QStringList& attributes = {}) {
    SearchRequest r;
    r.base = dn;
    r.scope = SearchScope::Base;
    r.filter = u"(objectClass=*)"_s;
    r.attributes = attributes;
    const QList<LdapEntry> entries = searchAll(backend, r);
    return entries.isEmpty() ? LdapEntry{} : entries.first();
}

int ldifErrorLine(const QByteArray& text) {
    try {
        MemoryBackend::fromText(text, u"bad.ldif"_s);
    } catch (const LdifError& e) {
        return e.line();
    }
    return 0;
}

template <typename F> int codeOf(F f) {
    try {
        f();
    } catch (const LdapError& e) {
        return e.code();
    }
    return 0;
}

} // namespace

TEST(MemoryLoading, FoldedLinesBase64CommentsAndChangeRecords) {
    auto backend = small();
    backend->bind({}, {});
    EXPECT_EQ(backend->namingContext(), u"DC=example,DC=test"_s);
    const LdapEntry anne = read(*backend, u"cn=anne long,ou=ventes,dc=example,dc=test"_s);
    EXPECT_EQ(anne.dn, u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(QString::fromUtf8(anne.find(u"displayName")->values.first()), u"Élodîe"_s);
    const LdapEntry g2 = read(*backend, u"CN=G2,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(g2.find(u"member")->values.size(), 2);
    EXPECT_EQ(g2.find(u"description")->values.first(), "deux");
    // memberOf comes from the groups, never from the file.
    const LdapEntry g1 = read(*backend, u"CN=G1,OU=Ventes,DC=example,DC=test"_s);
    ASSERT_TRUE(g1.find(u"memberOf"));
    EXPECT_EQ(g1.find(u"memberOf")->values, QList<QByteArray>{"CN=G2,OU=Ventes,DC=example,DC=test"});
}

// What the sample comparison with a controller cannot show: values outside the sample's O.U.s
// and on entries the file left bare.
TEST(MemoryLoading, ValuesADomainControllerSets) {
    auto backend = small();
    backend->bind({}, {});
    const QString anneDn = u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s;
    const LdapEntry anne = read(*backend, anneDn, {u"*"_s, u"msDS-User-Account-Control-Computed"_s});
    EXPECT_EQ(anne.find(u"msDS-User-Account-Control-Computed")->values.first(), "16")
        << "locked by lockoutTime";
    EXPECT_EQ(read(*backend, anneDn).find(u"msDS-User-Account-Control-Computed"), nullptr)
        << "constructed: only when asked for";
    const QByteArray sid = anne.find(u"objectSid")->values.first();
    ASSERT_EQ(sid.size(), 28);
    EXPECT_GE(qFromLittleEndian<quint32>(sid.constData() + 24), 1100u);
    EXPECT_EQ(
        read(*backend, u"CN=PC1,OU=Ventes,DC=example,DC=test"_s).find(u"primaryGroupID")->values.first(),
        "515");
    EXPECT_FALSE(read(*backend, u"CN=Domain Users,CN=Users,DC=example,DC=test"_s).dn.isEmpty());
}

TEST(MemoryLoading, MalformedFilesNameTheLineAndLoadNothing) {
    const QByteArray ouA = "dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\n";
    const std::pair<QByteArray, int> files[] = {
        {ouA + "dn: OU=B,DC=x\nno colon here\n", 5},
        {"dn: OU=A,DC=x\nobjectClass:: ***\n", 2},
        {"objectClass: top\n", 1},
        {"dn: OU=A,,DC=x\nobjectClass: top\n", 1},
        {ouA + "dn: CN=G,OU=A,DC=x\nobjectClass: group\nmember: CN=Nobody,OU=A,DC=x\n", 4},
        {ouA + "dn: OU=C,OU=B,DC=x\nobjectClass: organizationalUnit\n", 4}, // missing parent
        {ouA + "dn: OU=A,DC=x\nobjectClass: top\n", 4},
        {"dn: OU=A,DC=x\nchangetype: modrdn\nnewrdn: OU=B\n", 2},
        {ouA + "dn: OU=A,DC=other\nobjectClass: top\n", 4},
    };
    for (const auto& [text, line] : files)
        EXPECT_EQ(ldifErrorLine(text), line) << text.constData();
    try {
        MemoryBackend backend(u"/nonexistent/file.ldif"_s);
        FAIL() << "a missing file loads";
    } catch (const LdifError& e) {
        EXPECT_TRUE(e.text().contains(u"/nonexistent/file.ldif"_s));
    }
}

TEST(MemoryBinds, LoginsPasswordsAndServers) {
    const QByteArray password = QByteArray("\"S3cret!\"");
    QByteArray utf16;
    for (char c : password)
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    const QByteArray text = smallDomain +
                            "\ndn: CN=Admin,OU=Ventes,DC=example,DC=test\nobjectClass: user\n"
                            "sAMAccountName: adm\nuserPrincipalName: adm@example.test\n"
                            "userAccountControl: 512\nunicodePwd:: " +
                            utf16.toBase64() + "\n";
    auto backend = MemoryBackend::fromText(text);
    const auto code = [&](const QString& login, const QString& pw, const QString& server = {}) {
        return codeOf([&] { backend->bind(Credentials{1, login, pw, {}}, server); });
    };
    EXPECT_EQ(code(u"adm@example.test"_s, u"S3cret!"_s), 0);
    EXPECT_EQ(code(u"EXAMPLE\\adm"_s, u"S3cret!"_s), 0);
    EXPECT_EQ(code(u"CN=Admin,OU=Ventes,DC=example,DC=test"_s, u"S3cret!"_s), 0);
    EXPECT_EQ(code(u"adm"_s, u"wrong"_s), LdapCode::InvalidCredentials);
    EXPECT_EQ(code(u"nobody@example.test"_s, u"x"_s), LdapCode::InvalidCredentials);
    EXPECT_EQ(code(u"OTHER\\adm"_s, u"S3cret!"_s), LdapCode::InvalidCredentials);
    EXPECT_EQ(code(u"adm"_s, u"S3cret!"_s, u"elsewhere.test"_s), LdapCode::ServerDown);
    EXPECT_EQ(code(u"adm"_s, u"S3cret!"_s, u"EXAMPLE.test"_s), 0);
    EXPECT_EQ(code(u"along"_s, u"any"_s), LdapCode::InvalidCredentials) << "a locked account cannot bind";
    SearchRequest r;
    r.base = u"DC=example,DC=test"_s;
    auto unbound = small();
    EXPECT_THROW(unbound->search(r), LdapError) << "searching needs a bind";
}

TEST(MemoryChanges, ReadOnlyEntriesAndRenamesKeepLinks) {
    auto backend = small();
    backend->bind({}, {});
    const auto replace = [&](const QString& dn, const QString& attribute, const QByteArray& value) {
        return codeOf([&] { backend->modify(dn, {{ModOp::Replace, attribute, {value}}}); });
    };
    const QString g1 = u"CN=G1,OU=Ventes,DC=example,DC=test"_s;
    EXPECT_EQ(replace(g1, u"description"_s, "x"), LdapCode::InsufficientAccessRights);
    EXPECT_EQ(codeOf([&] { backend->remove(g1); }), LdapCode::InsufficientAccessRights);
    backend->rename(u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s, u"CN=Anne Large"_s, {});
    EXPECT_TRUE(backend->compare(g1, u"member"_s, "cn=anne large,ou=ventes,dc=example,dc=test"));
    backend->rename(u"OU=Ventes,DC=example,DC=test"_s, u"OU=Sales"_s, {});
    const QString g2 = u"CN=G2,OU=Sales,DC=example,DC=test"_s;
    EXPECT_TRUE(backend->compare(g2, u"member"_s, "CN=G1,OU=Sales,DC=example,DC=test"));
    const LdapEntry anne = read(*backend, u"CN=Anne Large,OU=Sales,DC=example,DC=test"_s);
    EXPECT_EQ(anne.find(u"memberOf")->values, QList<QByteArray>{"CN=G1,OU=Sales,DC=example,DC=test"});
    EXPECT_EQ(replace(g2, u"groupType"_s, "abc"), LdapCode::InvalidAttributeSyntax);
    EXPECT_EQ(replace(g2, u"sAMAccountName"_s, "PC1$"), LdapCode::EntryAlreadyExists);
}

TEST(MemoryLoading, DnsAreSpeltTheDirectorysWayWhateverTheirFileSpelling) {
    // The usual DNs are spelt without being parsed: the same spelling as the parsed ones. A leading
    // "#" must stay escaped when the directory spells the DN back, or the entry is lost.
    struct Case {
        QByteArray dnInFile;
        QString spelt;
        QByteArray name;
    };
    const QList<Case> cases = {
        {"cn = Smith  John ,ou=X,dc=example,dc=test", u"CN=Smith  John,OU=X,DC=example,DC=test"_s,
         "Smith  John"},
        {"CN=a=b,OU=X,DC=example,DC=test", u"CN=a\\=b,OU=X,DC=example,DC=test"_s, "a=b"},
        {"Uid=Mixed, OU=X,DC=example,DC=test", u"Uid=Mixed,OU=X,DC=example,DC=test"_s, "Mixed"},
        {"2.5.4.3=oid,OU=X,DC=example,DC=test", u"2.5.4.3=oid,OU=X,DC=example,DC=test"_s, "oid"},
        {"CN=x#y,OU=X,DC=example,DC=test", u"CN=x#y,OU=X,DC=example,DC=test"_s, "x#y"},
        {"CN=\xc3\x89lodie,OU=X,DC=example,DC=test", u"CN=\u00c9lodie,OU=X,DC=example,DC=test"_s,
         "\xc3\x89lodie"},
        {"CN=Dupont\\2C Jean,OU=X,DC=example,DC=test", u"CN=Dupont\\, Jean,OU=X,DC=example,DC=test"_s,
         "Dupont, Jean"},
        {"CN=Roux\\, Anne,OU=X,DC=example,DC=test", u"CN=Roux\\, Anne,OU=X,DC=example,DC=test"_s,
         "Roux, Anne"},
        {"CN=\\23hash,OU=X,DC=example,DC=test", u"CN=\\#hash,OU=X,DC=example,DC=test"_s, "#hash"},
    };
    QByteArray text = "dn: OU=X,DC=example,DC=test\nobjectClass: organizationalUnit\n";
    for (const Case& c : cases)
        text += "\ndn: " + c.dnInFile + "\nobjectClass: container\n";
    auto backend = MemoryBackend::fromText(text, u"spellings.ldif"_s);
    backend->bind({}, {});
    for (const Case& c : cases) {
        const LdapEntry entry = read(*backend, c.spelt);
        EXPECT_EQ(entry.dn, c.spelt) << c.dnInFile.constData();
        EXPECT_EQ(entry.find(u"name") ? entry.find(u"name")->values.first() : QByteArray(), c.name)
            << c.dnInFile.constData();
    }
    backend->add(u"CN=\\#second,OU=X,DC=example,DC=test"_s, {{u"objectClass"_s, {"group"}}});
    EXPECT_EQ(read(*backend, u"CN=\\23second,OU=X,DC=example,DC=test"_s).find(u"name")->values.first(),
              "#second");
}

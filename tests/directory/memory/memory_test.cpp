// What only the embedded directory shows: loading, defaults a domain controller sets, binds, speed.

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

TEST(MemoryLoading, ValuesADomainControllerSets) {
    auto backend = small();
    backend->bind({}, {});
    const LdapEntry anne = read(*backend, u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s,
                                {u"*"_s, u"msDS-User-Account-Control-Computed"_s});
    const auto value = [](const LdapEntry& e, const char16_t* name) {
        const LdapAttribute* a = e.find(QStringView(name));
        return a ? QString::fromUtf8(a->values.join(',')) : QString();
    };
    EXPECT_EQ(value(anne, u"objectClass"), u"top,person,organizationalPerson,user"_s);
    EXPECT_EQ(value(anne, u"objectCategory"), u"CN=Person,CN=Schema,CN=Configuration,DC=example,DC=test"_s);
    EXPECT_EQ(value(anne, u"name"), u"Anne Long"_s);
    EXPECT_EQ(value(anne, u"cn"), u"Anne Long"_s);
    EXPECT_EQ(value(anne, u"primaryGroupID"), u"513"_s);
    EXPECT_EQ(value(anne, u"msDS-User-Account-Control-Computed"), u"16"_s) << "locked by lockoutTime";
    const QByteArray sid = anne.find(u"objectSid")->values.first();
    ASSERT_EQ(sid.size(), 28);
    EXPECT_GE(qFromLittleEndian<quint32>(sid.constData() + 24), 1100u);
    EXPECT_TRUE(read(*backend, u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s)
                    .find(u"msDS-User-Account-Control-Computed") == nullptr)
        << "constructed: only when asked for";
    const LdapEntry pc = read(*backend, u"CN=PC1,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(value(pc, u"primaryGroupID"), u"515"_s);
    EXPECT_EQ(value(pc, u"objectClass"), u"top,person,organizationalPerson,user,computer"_s);
    EXPECT_EQ(value(read(*backend, u"CN=G1,OU=Ventes,DC=example,DC=test"_s), u"groupType"), u"-2147483646"_s);
    // The domain objects the file left out.
    EXPECT_FALSE(read(*backend, u"CN=Domain Users,CN=Users,DC=example,DC=test"_s).dn.isEmpty());
}

TEST(MemoryLoading, MalformedFilesNameTheLineAndLoadNothing) {
    EXPECT_EQ(
        ldifErrorLine("dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\ndn: OU=B,DC=x\nno colon here\n"), 5);
    EXPECT_EQ(ldifErrorLine("dn: OU=A,DC=x\nobjectClass:: ***\n"), 2);
    EXPECT_EQ(ldifErrorLine("objectClass: top\n"), 1);
    EXPECT_EQ(ldifErrorLine("dn: OU=A,,DC=x\nobjectClass: top\n"), 1);
    EXPECT_EQ(ldifErrorLine(
                  "dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\ndn: CN=G,OU=A,DC=x\nobjectClass: group\n"
                  "member: CN=Nobody,OU=A,DC=x\n"),
              4);
    EXPECT_EQ(ldifErrorLine("dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\ndn: OU=C,OU=B,DC=x\n"
                            "objectClass: organizationalUnit\n"),
              4)
        << "missing parent";
    EXPECT_EQ(
        ldifErrorLine("dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\ndn: OU=A,DC=x\nobjectClass: top\n"),
        4);
    EXPECT_EQ(ldifErrorLine("dn: OU=A,DC=x\nchangetype: modrdn\nnewrdn: OU=B\n"), 2);
    EXPECT_EQ(ldifErrorLine(
                  "dn: OU=A,DC=x\nobjectClass: organizationalUnit\n\ndn: OU=A,DC=other\nobjectClass: top\n"),
              4);
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
        try {
            backend->bind(Credentials{1, login, pw, {}}, server);
        } catch (const LdapError& e) {
            return e.code();
        }
        return 0;
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
    const QString g1 = u"CN=G1,OU=Ventes,DC=example,DC=test"_s;
    const auto code = [](auto f) {
        try {
            f();
        } catch (const LdapError& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(code([&] {
                  backend->modify(g1, {{ModOp::Replace, u"description"_s, {"x"}}});
              }),
              LdapCode::InsufficientAccessRights);
    EXPECT_EQ(code([&] { backend->remove(g1); }), LdapCode::InsufficientAccessRights);
    backend->rename(u"CN=Anne Long,OU=Ventes,DC=example,DC=test"_s, u"CN=Anne Large"_s, {});
    EXPECT_TRUE(backend->compare(g1, u"member"_s, "cn=anne large,ou=ventes,dc=example,dc=test"));
    backend->rename(u"OU=Ventes,DC=example,DC=test"_s, u"OU=Sales"_s, {});
    EXPECT_TRUE(backend->compare(u"CN=G2,OU=Sales,DC=example,DC=test"_s, u"member"_s,
                                 "CN=G1,OU=Sales,DC=example,DC=test"));
    const LdapEntry anne = read(*backend, u"CN=Anne Large,OU=Sales,DC=example,DC=test"_s);
    EXPECT_EQ(anne.find(u"memberOf")->values, QList<QByteArray>{"CN=G1,OU=Sales,DC=example,DC=test"});
    EXPECT_EQ(code([&] {
                  backend->modify(u"CN=G2,OU=Sales,DC=example,DC=test"_s,
                                  {{ModOp::Replace, u"groupType"_s, {"abc"}}});
              }),
              LdapCode::InvalidAttributeSyntax);
    EXPECT_EQ(code([&] {
                  backend->modify(u"CN=G2,OU=Sales,DC=example,DC=test"_s,
                                  {{ModOp::Replace, u"sAMAccountName"_s, {"PC1$"}}});
              }),
              LdapCode::EntryAlreadyExists);
}

TEST(MemoryIndex, MemberQueriesAnswerEveryGroupFromTheIndex) {
    // Many groups over shared accounts: each member query must return exactly that group's members
    // in one search. Speed itself is measured by the benchmarks.
    const int accounts = 2000;
    const int groups = 40;
    QByteArray text = "dn: OU=Big,DC=big,DC=test\nobjectClass: organizationalUnit\n\n";
    for (int i = 0; i < accounts; ++i)
        text += "dn: CN=u" + QByteArray::number(i) +
                ",OU=Big,DC=big,DC=test\nobjectClass: user\nsAMAccountName: u" + QByteArray::number(i) +
                "\n\n";
    for (int g = 0; g < groups; ++g) {
        text += "dn: CN=g" + QByteArray::number(g) + ",OU=Big,DC=big,DC=test\nobjectClass: group\n";
        for (int m = 0; m < 50; ++m)
            text += "member: CN=u" + QByteArray::number((g * 50 + m) % accounts) + ",OU=Big,DC=big,DC=test\n";
        text += "\n";
    }
    auto backend = std::shared_ptr<MemoryBackend>(MemoryBackend::fromText(text).release());
    DirectoryConnection connection(backend, {});
    connection.Open();
    int rows = 0;
    for (int g = 0; g < groups; ++g) {
        Recordset r = connection.Execute(searchRequest(u"DC=big,DC=test"_s, SearchScope::Subtree,
                                                       u"(&(objectCategory=person)(memberOf=CN=g"_s +
                                                           QString::number(g) + u",OU=Big,DC=big,DC=test))"_s,
                                                       {u"sAMAccountName"_s}));
        for (; !r.Eof(); r.MoveNext()) {
            const int n = r.Fields(u"sAMAccountName").toString().mid(1).toInt();
            EXPECT_GE(n, g * 50);
            EXPECT_LT(n, g * 50 + 50);
            ++rows;
        }
    }
    EXPECT_EQ(rows, groups * 50);
    EXPECT_EQ(backend->roundTrips().searches, groups);
}

TEST(MemoryLoading, NamesNeedingEscapesLoadAndAreAddedAndFound) {
    // A leading "#" must stay escaped when the directory spells the DN back, or the entry is lost.
    const QByteArray text = "dn: OU=X,DC=example,DC=test\nobjectClass: organizationalUnit\n\n"
                            "dn: CN=\\23hash,OU=X,DC=example,DC=test\nobjectClass: group\n\n"
                            "dn: CN=Dupont\\, Jean,OU=X,DC=example,DC=test\nobjectClass: user\n"
                            "sAMAccountName: jdupont\n";
    auto backend = MemoryBackend::fromText(text, u"escapes.ldif"_s);
    backend->bind({}, {});
    EXPECT_EQ(read(*backend, u"CN=\\23hash,OU=X,DC=example,DC=test"_s).find(u"name")->values.first(),
              "#hash");
    EXPECT_EQ(read(*backend, u"CN=Dupont\\, Jean,OU=X,DC=example,DC=test"_s).find(u"cn")->values.first(),
              "Dupont, Jean");
    backend->add(u"CN=\\#second,OU=X,DC=example,DC=test"_s, {{u"objectClass"_s, {"group"}}});
    EXPECT_EQ(read(*backend, u"CN=\\23second,OU=X,DC=example,DC=test"_s).find(u"name")->values.first(),
              "#second");
}

TEST(MemoryLoading, DnsAreSpeltTheDirectorysWayWhateverTheirFileSpelling) {
    // The usual DNs are spelt without being parsed: the same spelling as the parsed ones.
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
}

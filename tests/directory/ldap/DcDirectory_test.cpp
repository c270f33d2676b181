// What only a real domain controller shows: paging past its page limit, membership tests of names
// with parentheses, and a connection the server drops. Ranged values are read by the fault
// controller's tests (5,000 members); references to other partitions come with every search of
// the conformance suite at the domain root.

#include "TestDc.h"

#include <QDateTime>
#include <QSet>

#include <sys/socket.h>
#include <unistd.h>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

// A DN below the sample's top O.U., on the controller: "CN=x,OU=Ventes" ->
// "CN=x,OU=Ventes,OU=Velmora,DC=...".
QString sample(const char* belowVelmora) {
    return QString::fromUtf8(belowVelmora) + u",OU=Velmora,"_s + Dc().base();
}

SearchRequest subtree(const QString& base, const QString& filter, QStringList attributes = {u"1.1"_s}) {
    SearchRequest request;
    request.base = base;
    request.filter = filter;
    request.attributes = std::move(attributes);
    return request;
}

int codeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const LdapError& e) {
        return e.code();
    }
    return LdapCode::Success;
}

// A container of this run's objects, so that a second run on the same controller starts clean.
class DcDirectory : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Dc().available())
            return;
        s_admin = AdminBackend();
        s_container =
            u"OU=Essais %1-%2,%3"_s.arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch()).arg(Dc().base());
        s_admin->add(s_container, {{u"objectClass"_s, {"organizationalUnit"}}});
        for (int i = 0; i < contactCount; ++i)
            s_admin->add(u"CN=Contact %1,%2"_s.arg(i).arg(s_container), {{u"objectClass"_s, {"contact"}}});
    }
    static void TearDownTestSuite() { s_admin.reset(); }
    void SetUp() override { ARBRIX_REQUIRE_DC(); }

    static constexpr int contactCount = 250;
    static inline std::shared_ptr<LdapBackend> s_admin;
    static inline QString s_container;
};

} // namespace

TEST_F(DcDirectory, PagesPastAThousandResultsOneAtATime) {
    // The schema partition holds well over a thousand attribute definitions; a domain controller
    // gives at most 1000 entries per page.
    const QString schema = u"CN=Schema,CN=Configuration,"_s + Dc().base();
    s_admin->resetRoundTrips();
    const QList<LdapEntry> entries = searchAll(*s_admin, subtree(schema, u"(objectClass=attributeSchema)"_s));
    EXPECT_GT(entries.size(), 1000);
    EXPECT_EQ(s_admin->roundTrips().searches, 1);
    EXPECT_GE(s_admin->roundTrips().pages, 2);
    QSet<QString> distinct;
    for (const LdapEntry& e : entries)
        distinct.insert(e.dn.toLower());
    EXPECT_EQ(distinct.size(), entries.size()) << "a page was read twice";

    SearchRequest request = subtree(s_container, u"(objectClass=contact)"_s);
    request.pageSize = 100;
    s_admin->resetRoundTrips();
    QList<LdapEntry> firstPage;
    EXPECT_TRUE(s_admin->search(request)->fetchPage(firstPage));
    EXPECT_EQ(firstPage.size(), 100);
    EXPECT_EQ(s_admin->roundTrips().pages, 1) << "nothing read ahead of the caller";
}

TEST_F(DcDirectory, IsMemberWorksWithParenthesesInTheMembersName) {
    const QString group = sample("CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes");
    const QByteArray member = sample("CN=Marc Petit,OU=Sales (EMEA),OU=Ventes").toUtf8();
    EXPECT_TRUE(s_admin->compare(group, u"member"_s, member));
    EXPECT_TRUE(s_admin->compare(group, u"member"_s, member.toLower()));
    EXPECT_FALSE(s_admin->compare(sample("CN=Groupe vide,OU=Groupes,OU=Informatique"), u"member"_s, member));
    EXPECT_EQ(codeOf([&] { s_admin->compare(u"CN=Absent,"_s + s_container, u"member"_s, member); }),
              LdapCode::NoSuchObject);
}

TEST_F(DcDirectory, BindsAgainWhenTheConnectionWasLost) {
    auto backend = AdminBackend();
    const QString group = sample("CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes");
    const QString member = sample("CN=Marc Petit,OU=Sales (EMEA),OU=Ventes");
    const auto dropConnection = [&] {
        ASSERT_GE(backend->socketDescriptor(), 0);
        ::shutdown(backend->socketDescriptor(), SHUT_RDWR); // as a server closing an idle connection
    };

    dropConnection();
    // Still the administrator's session: an anonymous one could not search the domain.
    EXPECT_EQ(searchAll(*backend, subtree(s_container, u"(objectClass=contact)"_s)).size(), contactCount);
    EXPECT_EQ(backend->roundTrips().binds, 2);

    dropConnection();
    EXPECT_TRUE(backend->compare(group, u"member"_s, member.toUtf8()));

    dropConnection();
    const QString added = u"CN=Après coupure,"_s + s_container;
    EXPECT_EQ(codeOf([&] { backend->add(added, {{u"objectClass"_s, {"contact"}}}); }), LdapCode::Success);
    EXPECT_EQ(backend->roundTrips().binds, 4);
}

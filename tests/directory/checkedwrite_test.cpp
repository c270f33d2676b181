// A change whose answer is lost, before or after the directory made it: the object read back
// decides what the caller is told.

#include "directory/CheckedWrite.h"
#include "directory/DirectoryError.h"
#include "directory/ForwardingBackend.h"
#include "directory/memory/MemoryBackend.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QByteArray domain = R"(dn: DC=perte,DC=test
objectClass: domainDNS

dn: CN=Ventes (Nord),DC=perte,DC=test
objectClass: group
sAMAccountName: ventes
member: CN=Ana,DC=perte,DC=test

dn: CN=Ana,DC=perte,DC=test
objectClass: user

dn: CN=Bo\, fils,DC=perte,DC=test
objectClass: user
)";

enum class Perte { AvantLeServeur, ApresLeServeur };

// Loses the answer of the next write: the request never reached the server, or the server made
// the change and its answer never came back. Reads can be made to fail as well.
class BackendPerdant : public ForwardingBackend {
public:
    BackendPerdant(Perte perte)
        : ForwardingBackend(std::shared_ptr<Backend>(MemoryBackend::fromText(domain).release()))
        , m_perte(perte) {
        bind({}, {});
    }
    bool lecturesEnPanne = false;

    std::unique_ptr<SearchCursor> search(const SearchRequest& r) override {
        if (lecturesEnPanne)
            throw LdapError(LdapCode::ServerDown, u"Can't contact LDAP server"_s);
        return ForwardingBackend::search(r);
    }
    // Batched reads fail with the others.
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override {
        return Backend::searchBatch(maxInFlight);
    }
    bool compare(const QString& dn, const QString& a, const QByteArray& v) override {
        if (lecturesEnPanne)
            throw LdapError(LdapCode::ServerDown, u"Can't contact LDAP server"_s);
        return ForwardingBackend::compare(dn, a, v);
    }
    void add(const QString& dn, const QList<LdapAttribute>& a) override {
        perd([&] { ForwardingBackend::add(dn, a); });
    }
    void modify(const QString& dn, const QList<Modification>& m) override {
        perd([&] { ForwardingBackend::modify(dn, m); });
    }
    void remove(const QString& dn) override {
        perd([&] { ForwardingBackend::remove(dn); });
    }
    void rename(const QString& dn, const QString& rdn, const QString& superior) override {
        perd([&] { ForwardingBackend::rename(dn, rdn, superior); });
    }

private:
    template <typename F> void perd(F&& ecrit) {
        if (m_perte == Perte::ApresLeServeur)
            ecrit();
        throw LdapError(LdapCode::Timeout, u"The directory server did not answer within 2 seconds"_s);
    }
    Perte m_perte;
};

const QString groupe = u"CN=Ventes (Nord),DC=perte,DC=test"_s;
const QString bo = u"CN=Bo\\, fils,DC=perte,DC=test"_s;

const QList<Write> changements = {
    {Write::Kind::Add,
     u"CN=Nouveau * groupe,DC=perte,DC=test"_s,
     {{u"objectClass"_s, {"group"}}},
     {},
     {},
     {}},
    {Write::Kind::Modify, groupe, {}, {{ModOp::Add, u"member"_s, {bo.toUtf8()}}}, {}, {}},
    {Write::Kind::Modify, groupe, {}, {{ModOp::Delete, u"member"_s, {"CN=Ana,DC=perte,DC=test"}}}, {}, {}},
    {Write::Kind::Modify, groupe, {}, {{ModOp::Replace, u"sAMAccountName"_s, {"ventes-nord"}}}, {}, {}},
    {Write::Kind::Rename, groupe, {}, {}, u"CN=Ventes \\28Sud\\29"_s, {}},
    {Write::Kind::Remove, bo, {}, {}, {}, {}},
};

} // namespace

TEST(EcritureVerifiee, AChangeMadeBeforeTheAnswerWasLostIsASuccess) {
    for (const Write& w : changements) {
        BackendPerdant backend(Perte::ApresLeServeur);
        EXPECT_EQ(readBack(backend, w), Held::No) << w.dn.toStdString();
        EXPECT_NO_THROW(writeChecked(backend, w)) << w.dn.toStdString();
        EXPECT_EQ(readBack(backend, w), Held::Yes) << w.dn.toStdString();
    }
}

TEST(EcritureVerifiee, AChangeThatNeverReachedTheServerIsToldNotMade) {
    for (const Write& w : changements) {
        BackendPerdant backend(Perte::AvantLeServeur);
        try {
            writeChecked(backend, w);
            ADD_FAILURE() << "no error for " << w.dn.toStdString();
        } catch (const LdapError& e) {
            EXPECT_EQ(e.code(), LdapCode::ChangeNotMade) << w.dn.toStdString();
            EXPECT_TRUE(e.message().contains(u"did not answer"_s));
        }
    }
}

TEST(EcritureVerifiee, ADirectoryThatCannotBeReadBackLeavesTheFirstError) {
    BackendPerdant backend(Perte::ApresLeServeur);
    backend.lecturesEnPanne = true;
    try {
        writeChecked(backend, changements[1]);
        ADD_FAILURE() << "no error";
    } catch (const LdapError& e) {
        EXPECT_EQ(e.code(), LdapCode::Timeout);
    }
}

TEST(EcritureVerifiee, ARefusalIsNotReadBack) {
    // Refused by the directory itself: an entry that exists already.
    auto memoire = std::shared_ptr<Backend>(MemoryBackend::fromText(domain).release());
    memoire->bind({}, {});
    try {
        writeChecked(*memoire, {Write::Kind::Add, bo, {{u"objectClass"_s, {"user"}}}, {}, {}, {}});
        ADD_FAILURE() << "no error";
    } catch (const LdapError& e) {
        EXPECT_EQ(e.code(), LdapCode::EntryAlreadyExists);
    }
}

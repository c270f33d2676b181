// Failures that need no directory server: nothing listening, nothing answering, bad input.

#include "directory/ldap/LdapBackend.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

LdapOptions quick(const QString& uris) {
    LdapOptions o;
    o.uris = uris;
    o.networkTimeoutSeconds = 2;
    return o;
}

int bindCode(LdapBackend& backend, const Credentials& credentials) {
    try {
        backend.bind(credentials, {});
    } catch (const LdapError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        return e.code();
    }
    return LdapCode::Success;
}

} // namespace

TEST(LdapUnreachable, NothingListeningFailsAtOnceAsServerDown) {
    LdapBackend backend(quick(u"ldap://127.0.0.1:9"_s));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(bindCode(backend, Credentials{1, u"a@velmora.test"_s, u"x"_s, {}}), LdapCode::ServerDown);
    EXPECT_LT(clock.elapsed(), 3000);
    SearchRequest request;
    request.base = u"DC=velmora,DC=test"_s;
    try {
        searchAll(backend, request);
        FAIL() << "a search without a server gave an answer";
    } catch (const LdapError& e) {
        EXPECT_EQ(e.code(), LdapCode::ServerDown);
    }
}

TEST(LdapUnreachable, SilentAddressFailsWithinTheNetworkTimeout) {
    // TEST-NET-1: never routed, so the connection attempt either fails at once or times out.
    LdapBackend backend(quick(u"ldap://192.0.2.1"_s));
    QElapsedTimer clock;
    clock.start();
    const int code = bindCode(backend, Credentials{1, u"a@velmora.test"_s, u"x"_s, {}});
    EXPECT_TRUE(code == LdapCode::ServerDown || code == LdapCode::Timeout || code == LdapCode::ConnectError)
        << code;
    EXPECT_LT(clock.elapsed(), 2000 + 3000);
}

TEST(LdapUnreachable, BadInputIsRefusedBeforeAnyBind) {
    LdapBackend backend(quick(u"ldap://127.0.0.1:9"_s));
    // A simple bind with an empty password succeeds anonymously on most servers.
    EXPECT_EQ(bindCode(backend, Credentials{1, u"a@velmora.test"_s, QString(), {}}),
              LdapCode::InvalidCredentials);
    EXPECT_EQ(bindCode(backend, Credentials{1, QString(), u"secret"_s, {}}), LdapCode::InvalidCredentials);
    LdapBackend malformed(quick(u"ldap://[::1"_s));
    EXPECT_NE(bindCode(malformed, Credentials{1, u"a@velmora.test"_s, u"x"_s, {}}), LdapCode::Success);
}

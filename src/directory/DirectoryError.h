#pragma once

#include <QString>
#include <QtGlobal>

#include <exception>
#include <string>

namespace arbrix {

// Error numbers the callers test, in the convention of the Windows directory interfaces:
// 0x80072000 + LDAP result code, with a few numbers of their own for queries and object operations.
namespace ErrorNumber {
inline constexpr qint32 QueryAccessDenied = qint32(0x80040E09u); // query refused: credentials or rights
inline constexpr qint32 QueryNoSuchBase = qint32(0x80040E37u);   // query base does not exist
inline constexpr qint32 ObjectAccessDenied = 70;                 // object operation refused for rights
inline constexpr qint32 UnwillingToPerform = qint32(0x80072035u);
inline constexpr qint32 AlreadyExists = qint32(0x80071392u);
inline constexpr qint32 NoSuchObject = qint32(0x80072030u);
inline constexpr qint32 ServerDown = qint32(0x8007203Au);
inline constexpr qint32 LdapBase = qint32(0x80072000u);
inline constexpr qint32 BadPathName = qint32(0x80005000u); // not an "LDAP://" path
inline constexpr qint32 NoSession = qint32(0x80004005u);   // no directory session installed
} // namespace ErrorNumber

// LDAP result codes the backends report (RFC 4511), plus the client-side codes of libldap.
namespace LdapCode {
inline constexpr int Success = 0;
inline constexpr int OperationsError = 1;
inline constexpr int ProtocolError = 2;
inline constexpr int TimeLimitExceeded = 3;
inline constexpr int SizeLimitExceeded = 4;
inline constexpr int CompareFalse = 5;
inline constexpr int CompareTrue = 6;
inline constexpr int StrongAuthRequired = 8;
inline constexpr int ConfidentialityRequired = 13;
inline constexpr int NoSuchAttribute = 16;
inline constexpr int UndefinedAttributeType = 17;
inline constexpr int ConstraintViolation = 19;
inline constexpr int AttributeOrValueExists = 20;
inline constexpr int InvalidAttributeSyntax = 21;
inline constexpr int NoSuchObject = 32;
inline constexpr int InvalidDnSyntax = 34;
inline constexpr int InvalidCredentials = 49;
inline constexpr int InsufficientAccessRights = 50;
inline constexpr int Busy = 51;
inline constexpr int Unavailable = 52;
inline constexpr int UnwillingToPerform = 53;
inline constexpr int NamingViolation = 64;
inline constexpr int ObjectClassViolation = 65;
inline constexpr int NotAllowedOnNonLeaf = 66;
inline constexpr int EntryAlreadyExists = 68;
inline constexpr int Other = 80;
inline constexpr int ServerDown = -1;
inline constexpr int LocalError = -2;
inline constexpr int Timeout = -5;
inline constexpr int FilterError = -7;
inline constexpr int UserCancelled = -8;
inline constexpr int ConnectError = -11;
// Ours, not libldap's: the server offers no TLS (StartTLS not listed, refused, or the connection
// dropped on it), so the password was not sent.
inline constexpr int TlsNotOffered = -1000;
// Ours: the answer to a change was lost, and the object read back shows it was not made.
inline constexpr int ChangeNotMade = -1001;
} // namespace LdapCode

// What a backend raises: an LDAP result code and the server's diagnostic text.
class LdapError : public std::exception {
public:
    LdapError(int code, QString message);
    int code() const noexcept { return m_code; }
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_code;
    QString m_message;
    std::string m_what;
};

// What the gateway raises to its callers: the number they test and the text users see, and the
// LDAP result code behind them (0 when none) for the messages that explain a failed connection.
class DirectoryError : public std::exception {
public:
    DirectoryError(qint32 number, QString text, int ldapCode = 0);
    qint32 number() const noexcept { return m_number; }
    const QString& text() const noexcept { return m_text; }
    int ldapCode() const noexcept { return m_ldapCode; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_text;
    int m_ldapCode;
    std::string m_what;
};

// The number a failed query raises for an LDAP result code.
qint32 queryErrorNumber(int ldapCode);
// The number a failed object operation (bind, read, change) raises for an LDAP result code.
qint32 objectErrorNumber(int ldapCode);
DirectoryError queryError(const LdapError& e);
DirectoryError objectError(const LdapError& e);

} // namespace arbrix

#include "directory/DirectoryError.h"

namespace arbrix {

LdapError::LdapError(int code, QString message)
    : m_code(code)
    , m_message(std::move(message))
    , m_what(QStringLiteral("LDAP error %1: %2").arg(code).arg(m_message).toStdString()) {}

DirectoryError::DirectoryError(qint32 number, QString text, int ldapCode)
    : m_number(number)
    , m_text(std::move(text))
    , m_ldapCode(ldapCode)
    , m_what(QStringLiteral("0x%1: %2")
                 .arg(quint32(number), 8, 16, QLatin1Char('0'))
                 .arg(m_text)
                 .toStdString()) {}

static bool isUnreachable(int ldapCode) {
    return ldapCode == LdapCode::ServerDown || ldapCode == LdapCode::Timeout ||
           ldapCode == LdapCode::ConnectError || ldapCode == LdapCode::TlsNotOffered ||
           ldapCode == LdapCode::ChangeNotMade;
}

static qint32 genericNumber(int ldapCode) {
    if (isUnreachable(ldapCode))
        return ErrorNumber::ServerDown;
    if (ldapCode == LdapCode::NoSuchObject)
        return ErrorNumber::NoSuchObject; // the system's own number for it, not base + 32
    return ErrorNumber::LdapBase + ldapCode;
}

qint32 queryErrorNumber(int ldapCode) {
    switch (ldapCode) {
    case LdapCode::InvalidCredentials:
    case LdapCode::StrongAuthRequired:
    case LdapCode::InsufficientAccessRights:
    case LdapCode::OperationsError:
        return ErrorNumber::QueryAccessDenied;
    case LdapCode::NoSuchObject:
        return ErrorNumber::QueryNoSuchBase;
    default:
        return genericNumber(ldapCode);
    }
}

qint32 objectErrorNumber(int ldapCode) {
    switch (ldapCode) {
    case LdapCode::InsufficientAccessRights:
        return ErrorNumber::ObjectAccessDenied;
    case LdapCode::UnwillingToPerform:
        return ErrorNumber::UnwillingToPerform;
    case LdapCode::EntryAlreadyExists:
        return ErrorNumber::AlreadyExists;
    default:
        return genericNumber(ldapCode);
    }
}

DirectoryError queryError(const LdapError& e) {
    return DirectoryError(queryErrorNumber(e.code()), e.message(), e.code());
}

DirectoryError objectError(const LdapError& e) {
    return DirectoryError(objectErrorNumber(e.code()), e.message(), e.code());
}

} // namespace arbrix

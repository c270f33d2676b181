#pragma once

// What every part of the embedded directory shares: its errors, worded as a domain controller
// words them, and how it compares attribute names and reads numbers.

#include "directory/Backend.h"
#include "directory/memory/Schema.h"

#include <QString>

#include <initializer_list>

namespace arbrix {

[[noreturn]] inline void fail(int code, const QString& message) {
    throw LdapError(code, message);
}

inline QString noSuchObject(const QString& dn) {
    return QStringLiteral(
               "0000208D: NameErr: DSID-03100241, problem 2001 (NO_OBJECT), data 0, best match of: '") +
           dn + u'\'';
}

inline const QString insufficientRights =
    QStringLiteral("00002098: SecErr: DSID-03150F94, problem 4003 (INSUFF_ACCESS_RIGHTS), data 0");

inline bool sameName(QStringView a, QStringView b) {
    return MemeNom(a, b);
}

inline bool isOneOf(QStringView name, std::initializer_list<QStringView> names) {
    for (QStringView n : names) {
        if (sameName(name, n))
            return true;
    }
    return false;
}

inline qint64 number(const QByteArray& value) {
    return value.trimmed().toLongLong();
}

inline QString fold(const QByteArray& value) {
    return QString::fromUtf8(value).toCaseFolded();
}

} // namespace arbrix

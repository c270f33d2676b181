#pragma once

// Account and group values as the analysis reads them from query rows.

#include "directory/Sid.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

namespace arbrix {

// The expiry date-time of an "accountExpires" value (a FILETIME count); null, 0 and the largest
// value mean "never" and give 1970-01-01 00:00 local time, as the directory interface answers.
QDateTime ExpirationCompte(const QVariant& accountExpires);

// Whether an account is locked out, from its "lockoutTime" and the domain's "lockoutDuration" (a
// negative count of 100 ns; the smallest value keeps an account locked until an administrator
// unlocks it), as the directory computes its lock-out bit; nullopt for a duration it weighs
// otherwise.
std::optional<bool> VerrouilleSelonDuree(qint64 lockoutTime, qint64 lockoutDuration,
                                         const QDateTime& maintenant);

// A date-time in the user's short date form, followed by the time when it is not midnight.
QString TexteDateCourte(const QDateTime& moment);

// The note appended to an account label: NBSP + "-> " + "expirera le" / "expiré depuis le" + " "
// + the date.
QString NoteExpiration(const QDateTime& expiration, bool expire);

// The RID by which accounts name this group as their primary group, for the groups that can be
// one (security groups of global or universal scope); nullopt for the others.
std::optional<quint32> RidGroupePrincipal(qint32 groupType, const QVariant& objectSid);

} // namespace arbrix

#include "tree/EtatCompte.h"

#include "directory/Values.h"
#include "i18n/Traductions.h"
#include "tree/Arbre.h"

#include <QLocale>
#include <QTimeZone>
#include <QtEndian>

#include <limits>

namespace arbrix {

QDateTime ExpirationCompte(const QVariant& accountExpires) {
    // 100 ns intervals since 1601-01-01 UTC.
    const qint64 filetime = accountExpires.isNull() ? 0 : accountExpires.toLongLong();
    // Made once: each local date made costs a time-zone lookup, and most accounts never expire.
    static const QDateTime jamais(QDate(1970, 1, 1), QTime(0, 0));
    if (filetime <= 0 || filetime == std::numeric_limits<qint64>::max())
        return jamais;
    const QDateTime origine(QDate(1601, 1, 1), QTime(0, 0), QTimeZone::utc());
    return origine.addMSecs(filetime / 10000).toLocalTime();
}

std::optional<bool> VerrouilleSelonDuree(qint64 lockoutTime, qint64 lockoutDuration,
                                         const QDateTime& maintenant) {
    if (lockoutTime <= 0)
        return false;
    if (lockoutDuration == std::numeric_limits<qint64>::min())
        return true;
    if (lockoutDuration >= 0 || lockoutTime > FiletimeJamais + lockoutDuration)
        return std::nullopt;
    return DateDepuisFiletime(lockoutTime - lockoutDuration) > maintenant;
}

QString TexteDateCourte(const QDateTime& moment) {
    const QLocale locale;
    QString texte = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0))
        texte += u' ' + locale.toString(moment.time(), QLocale::ShortFormat);
    return texte;
}

QString NoteExpiration(const QDateTime& expiration, bool expire) {
    return QChar(NBSP) + QStringLiteral("-> ") +
           Traduction(expire ? u"TXT_EXPIRE_DEPUIS_LE" : u"TXT_EXPIRERA_LE") + u' ' +
           TexteDateCourte(expiration);
}

std::optional<quint32> RidGroupePrincipal(qint32 groupType, const QVariant& objectSid) {
    const bool securite = groupType < 0;
    const bool globalOuUniversel = (groupType & 0x2) || (groupType & 0x8);
    if (!securite || !globalOuUniversel || objectSid.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return RidDepuisSid(objectSid.toByteArray());
}

} // namespace arbrix

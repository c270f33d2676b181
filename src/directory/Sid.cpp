#include "directory/Sid.h"

#include <QList>
#include <QString>
#include <QtEndian>

namespace arbrix {

std::optional<quint32> RidDepuisSid(const QByteArray& sid) {
    if (sid.size() < 8 || sid.at(0) != 1)
        return std::nullopt;
    const int nombre = quint8(sid.at(1));
    if (nombre == 0 || sid.size() != 8 + 4 * nombre)
        return std::nullopt;
    return qFromLittleEndian<quint32>(sid.constData() + 8 + 4 * (nombre - 1));
}

QByteArray SidDepuisTexte(const QByteArray& texte) {
    const QList<QByteArray> parts = texte.split('-');
    if (parts.size() < 3 || parts[0] != "S")
        return {};
    QByteArray sid;
    sid += char(parts[1].toInt());
    sid += char(parts.size() - 3);
    const quint64 authority = parts[2].toULongLong();
    for (int i = 5; i >= 0; --i)
        sid += char((authority >> (8 * i)) & 0xff);
    for (qsizetype i = 3; i < parts.size(); ++i) {
        const quint32 sub = quint32(parts[i].toULongLong());
        char le[4];
        qToLittleEndian(sub, le);
        sid += QByteArray(le, 4);
    }
    return sid;
}

QByteArray SidAvecRid(const QByteArray& sidDomaine, quint32 rid) {
    QByteArray sid;
    sid.reserve(sidDomaine.size() + 4);
    sid += sidDomaine;
    sid[1] = char(sid[1] + 1);
    char le[4];
    qToLittleEndian(rid, le);
    sid.append(le, 4);
    return sid;
}

QString TexteSid(const QByteArray& sid) {
    if (sid.size() < 8 || sid.at(0) != 1)
        return {};
    const int nombre = quint8(sid.at(1));
    if (sid.size() != 8 + 4 * nombre)
        return {};
    quint64 autorite = 0;
    for (int i = 2; i < 8; ++i)
        autorite = (autorite << 8) | quint8(sid.at(i));
    QString texte = QStringLiteral("S-1-") + QString::number(autorite);
    for (int i = 0; i < nombre; ++i)
        texte += u'-' + QString::number(qFromLittleEndian<quint32>(sid.constData() + 8 + 4 * i));
    return texte;
}

} // namespace arbrix

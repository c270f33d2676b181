#include "directory/ldap/LdapRange.h"

#include <QRegularExpression>

#include <limits>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

// No attribute holds this many values; a bigger index from a broken server would overflow the
// request of the next slice.
constexpr qint64 MaxIndexPlage = std::numeric_limits<qint32>::max();

} // namespace

std::optional<PlageValeurs> AnalysePlage(const QString& nomAttribut) {
    static const QRegularExpression pattern(u"^(.+);range=(\\d+)-(\\d+|\\*)$"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(nomAttribut);
    if (!match.hasMatch())
        return std::nullopt;
    PlageValeurs range;
    range.attribut = match.captured(1);
    bool ok = false;
    range.debut = match.captured(2).toLongLong(&ok);
    if (!ok || range.debut > MaxIndexPlage)
        return std::nullopt;
    range.derniere = match.captured(3) == u"*"_s;
    if (!range.derniere) {
        range.fin = match.captured(3).toLongLong(&ok);
        // A slice that is not the last must leave room for the next one.
        if (!ok || range.fin < range.debut || range.fin >= MaxIndexPlage)
            return std::nullopt;
    }
    return range;
}

std::optional<PlageValeurs> TrancheSuivante(const PlageValeurs& precedente, const QString& nomAttribut) {
    std::optional<PlageValeurs> range = AnalysePlage(nomAttribut);
    if (!range || range->attribut.compare(precedente.attribut, Qt::CaseInsensitive) != 0 ||
        range->debut <= precedente.fin)
        return std::nullopt;
    return range;
}

QString PlageSuivante(const PlageValeurs& precedente, int taille) {
    const qint64 debut = precedente.fin + 1;
    // Near the largest index, the rest is asked for whole rather than past what can be named.
    const bool jusquAuBout = taille <= 0 || debut + taille - 1 >= MaxIndexPlage;
    const QString fin = jusquAuBout ? u"*"_s : QString::number(debut + taille - 1);
    return u"%1;range=%2-%3"_s.arg(precedente.attribut).arg(debut).arg(fin);
}

QStringList AttributsAvecPlage(const QStringList& attributs, int taille) {
    if (taille <= 0)
        return attributs;
    QStringList result;
    result.reserve(attributs.size());
    for (const QString& a : attributs) {
        const bool special = a == u"*"_s || a == u"+"_s || a == u"1.1"_s || a.contains(u';');
        result << (special ? a : u"%1;range=0-%2"_s.arg(a).arg(taille - 1));
    }
    return result;
}

} // namespace arbrix

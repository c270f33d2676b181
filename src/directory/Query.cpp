#include "directory/Query.h"

#include "directory/Filter.h"

namespace arbrix {

QString EchappeValeurFiltre(QStringView valeur) {
    return EscapeFilterBytes(valeur.toUtf8());
}

QString FiltreEgalite(QStringView attribut, QStringView valeur) {
    return u'(' + attribut.toString() + u'=' + EchappeValeurFiltre(valeur) + u')';
}

// Consecutive wildcards are one: "a**b" would be a substring filter with an empty middle part,
// which servers reject as malformed.
QString EchappeValeurFiltreGenerique(QStringView valeur) {
    const QList<QStringView> pieces = valeur.split(u'*');
    QStringList escaped;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool inner = i > 0 && i < pieces.size() - 1;
        if (!inner || !pieces[i].isEmpty())
            escaped += EchappeValeurFiltre(pieces[i]);
    }
    return escaped.join(u'*');
}

bool EstAttributDn(QStringView attribut) {
    static const QStringView dnAttributes[] = {u"distinguishedName",
                                               u"dn",
                                               u"member",
                                               u"memberOf",
                                               u"managedBy",
                                               u"manager",
                                               u"directReports",
                                               u"objectCategory",
                                               u"managedObjects",
                                               u"msDS-MembersForAzRole",
                                               u"defaultObjectCategory",
                                               u"msDS-HostServiceAccount",
                                               u"msDS-HostServiceAccountBL",
                                               u"secretary",
                                               u"seeAlso"};
    for (QStringView a : dnAttributes) {
        if (attribut.compare(a, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace arbrix

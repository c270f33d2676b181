#include "directory/PrincipauxEtrangers.h"

#include "directory/DirectoryError.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/Sid.h"
#include "i18n/Traductions.h"
#include "text/Journal.h"

using namespace Qt::StringLiterals;

namespace arbrix {

QString NomSidBienConnu(const QString& sid) {
    // The identities a domain controller keeps under CN=ForeignSecurityPrincipals, and those an
    // administrator may add to a group there.
    static const QStringList connus{
        u"S-1-1-0"_s,  u"S-1-5-1"_s,    u"S-1-5-2"_s,     u"S-1-5-3"_s,     u"S-1-5-4"_s,     u"S-1-5-6"_s,
        u"S-1-5-7"_s,  u"S-1-5-8"_s,    u"S-1-5-9"_s,     u"S-1-5-10"_s,    u"S-1-5-11"_s,    u"S-1-5-12"_s,
        u"S-1-5-13"_s, u"S-1-5-14"_s,   u"S-1-5-15"_s,    u"S-1-5-17"_s,    u"S-1-5-18"_s,    u"S-1-5-19"_s,
        u"S-1-5-20"_s, u"S-1-5-1000"_s, u"S-1-5-64-10"_s, u"S-1-5-64-14"_s, u"S-1-5-64-21"_s,
    };
    if (!connus.contains(sid, Qt::CaseInsensitive))
        return {};
    return Traduction(QString(u"TXT_SID_"_s + sid.toUpper().replace(u'-', u'_')));
}

QList<DomaineApprouve> LitDomainesApprouves(SessionAD& session) {
    QList<DomaineApprouve> domaines;
    try {
        Recordset rs = session.ConnexionAD().Execute(searchRequest(
            u"CN=System,"_s + session.ContexteNommage(), SearchScope::OneLevel,
            u"(objectClass=trustedDomain)"_s, {u"flatName"_s, u"trustPartner"_s, u"securityIdentifier"_s}));
        for (; !rs.Eof(); rs.MoveNext()) {
            const LdapEntry& ligne = rs.current();
            const LdapAttribute* sid = ligne.find(u"securityIdentifier");
            const LdapAttribute* netbios = ligne.find(u"flatName");
            const LdapAttribute* dns = ligne.find(u"trustPartner");
            DomaineApprouve d;
            d.sid = sid && !sid->values.isEmpty() ? TexteSid(sid->values.front()) : QString();
            const LdapAttribute* nom = netbios && !netbios->values.isEmpty() ? netbios : dns;
            d.nom = nom && !nom->values.isEmpty() ? QString::fromUtf8(nom->values.front()) : QString();
            if (!d.sid.isEmpty() && !d.nom.isEmpty())
                domaines.append(d);
        }
    } catch (const DirectoryError& e) {
        // Without the trusts, a trusted domain's principal shows its SID alone.
        qCInfo(lcAnalyse).noquote() << "trusted domains unread:" << e.text();
    }
    return domaines;
}

QString LibellePrincipalEtranger(const QString& sid, const QList<DomaineApprouve>& domaines) {
    if (const QString nom = NomSidBienConnu(sid); !nom.isEmpty())
        return nom;
    for (const DomaineApprouve& d : domaines) {
        if (sid.startsWith(d.sid + u'-', Qt::CaseInsensitive))
            return sid + u" ("_s + d.nom + u')';
    }
    return sid;
}

QString NomsPrincipauxEtrangers::Libelle(const QString& sid) {
    if (!m_domaines && NomSidBienConnu(sid).isEmpty())
        m_domaines = LitDomainesApprouves(m_session);
    return LibellePrincipalEtranger(sid, m_domaines.value_or(QList<DomaineApprouve>()));
}

} // namespace arbrix

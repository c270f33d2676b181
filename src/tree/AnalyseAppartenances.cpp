// The analysis's walks of memberships: where a group is shown, groups met again inside
// themselves, the primary-group RIDs whose members are to be searched for, and which members a
// group's content holds (the filters and attributes of its rows, the names of foreign principals).

#include "tree/Analyse.h"

#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/Values.h"
#include "settings/Parametres.h"
#include "tree/Arbre.h"
#include "tree/CollecteContenus.h"
#include "tree/EtatCompte.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

bool Analyse::estGroupePrincipalPossible(quint32 rid) {
    // The domain's own groups (RIDs below 1000, "Domain Users" and the like) are often primary
    // groups. Other groups rarely are: which ones, the accounts say once per analysis, through
    // the primaryGroupID index, so that a group is not searched by a second criterion for nothing.
    if (rid < 1000)
        return true;
    if (!m_ridsPrincipaux) {
        m_ridsPrincipaux.emplace();
        const SearchRequest survol = searchRequest(baseRecherche(), SearchScope::Subtree,
                                                   u"(primaryGroupID>=1000)"_s, {u"primaryGroupID"_s});
        try {
            for (Recordset rs = m_session.ConnexionAD().Execute(survol); !rs.Eof(); rs.MoveNext())
                m_ridsPrincipaux->insert(quint32(rs.Fields(u"primaryGroupID").toLongLong()));
        } catch (const DirectoryError&) {
            // Without the survey, groups list the accounts that name them in "member".
        }
    }
    return m_ridsPrincipaux->contains(rid);
}

bool Analyse::montreAuNiveauOU(const QString& dnGroupe, const QVariant& memberOf) {
    // A group caught in a membership cycle is always shown at O.U. level; another is shown only
    // under a group of the same O.U. it belongs to.
    if (EstMembreDeLuiMeme(dnGroupe, memberOf) || m_parametres.RepresenterGroupesRacineOU)
        return true;
    return !MembreDUnGroupeDeSonOU(dnGroupe, memberOf.toStringList());
}

bool MembreDUnGroupeDeSonOU(const QString& dnGroupe, const QStringList& memberOf) {
    const QString conteneur = DnParent(dnGroupe);
    for (const QString& p : memberOf) {
        if (!DnEgaux(p, dnGroupe) && DnEgaux(DnParent(p), conteneur))
            return true;
    }
    return false;
}

bool Analyse::estRecursif(const Noeud* noeud) const {
    for (const Noeud* p = noeud->Parent(); p; p = p->Parent())
        if (p->Tag() == noeud->Tag())
            return true;
    return false;
}

void Analyse::noteRecursif(const QString& nom) {
    if (!GroupesRecursifs.contains(nom, Qt::CaseInsensitive))
        GroupesRecursifs.append(nom);
}

bool Analyse::EstMembreDeLuiMeme(const QString& dn, const QVariant& memberOf) {
    const Appel appel(*this);
    if (memberOf.isNull())
        return false;
    QSet<QString> vus;
    QStringList aSuivre = memberOf.toStringList();
    // Depth-first, as the memberships are met; each group is followed once per walk.
    std::reverse(aSuivre.begin(), aSuivre.end());
    while (!aSuivre.isEmpty()) {
        const QString p = aSuivre.takeLast();
        if (DnEgaux(p, dn))
            return true;
        const QString cle = DnNormalise(p);
        if (vus.contains(cle))
            continue;
        vus.insert(cle);
        QStringList parents = memberOfDe(p).toStringList();
        std::reverse(parents.begin(), parents.end());
        aSuivre.append(parents);
    }
    return false;
}

QVariant Analyse::memberOfDe(const QString& dn) {
    const QString cle = DnNormalise(dn);
    const auto connu = m_memberOf.constFind(cle);
    if (connu != m_memberOf.constEnd())
        return *connu;
    QVariant valeur;
    try {
        const Recordset rs = litObjet(dn, {u"memberOf"_s});
        if (!rs.Eof())
            valeur = rs.Fields(u"memberOf");
    } catch (const DirectoryError&) {
        // An unreadable group ends this branch of the walk.
    }
    m_memberOf.insert(cle, valeur);
    return valeur;
}

std::optional<quint32> Analyse::ridDe(const QString& dnGroupe) {
    try {
        const Recordset rs = litObjet(dnGroupe, {u"groupType"_s, u"objectSid"_s});
        if (!rs.Eof())
            return RidGroupePrincipal(rs.Fields(u"groupType").toInt(), rs.Fields(u"objectSid"));
    } catch (const DirectoryError&) {
        // Without its SID the group lists its "member" accounts only.
    }
    return std::nullopt;
}

QString FiltreComptes(qint16 mode) {
    switch (mode) {
    case Mode::Utilisateurs:
        return QStringLiteral("(&(objectCategory=person)(objectClass=user))");
    case Mode::Ordinateurs:
        return QStringLiteral("(objectCategory=computer)");
    case Mode::ComptesDeService:
        return QStringLiteral("(|(objectCategory=msDS-GroupManagedServiceAccount)"
                              "(objectCategory=msDS-ManagedServiceAccount))");
    default:
        return QStringLiteral("(|(&(objectCategory=person)(objectClass=user))(objectCategory=computer)"
                              "(objectCategory=msDS-GroupManagedServiceAccount)"
                              "(objectCategory=msDS-ManagedServiceAccount))");
    }
}

QString Analyse::filtreComptes() const {
    return FiltreComptes(ModeAnalyse);
}

QString Analyse::filtreMembres() const {
    if (ModeAnalyse == Mode::Standard && m_parametres.AfficherAutresMembres)
        return QStringLiteral("(!(objectCategory=group))");
    return filtreComptes();
}

QStringList Analyse::attributsComptes() const {
    QStringList attributs{u"sAMAccountName"_s,    u"displayName"_s,        u"cn"_s,
                          u"distinguishedName"_s, u"userAccountControl"_s, u"objectClass"_s,
                          u"objectCategory"_s};
    if (m_parametres.ControlerVerrouilleExpire)
        attributs += {u"accountExpires"_s, u"lockoutTime"_s};
    return attributs;
}

NomsPrincipauxEtrangers& Analyse::nomsPrincipaux() {
    if (!m_nomsPrincipaux)
        m_nomsPrincipaux.emplace(m_session);
    return *m_nomsPrincipaux;
}

// ---------------------------------------------------------------- helpers

Analyse::Appel::Appel(Analyse& analyse)
    : m_analyse(analyse) {
    // A call from outside (an operation expanding one node) starts from fresh memberships.
    if (m_analyse.m_appels++ == 0) {
        m_analyse.m_memberOf.clear();
        m_analyse.m_ridsPrincipaux.reset();
        m_analyse.m_nomsPrincipaux.reset();
        m_analyse.m_dureeVerrouillage.reset();
        m_analyse.m_collecte.reset();
        m_analyse.m_instant.reset();
    }
}

std::optional<quint32> Analyse::ridAChercher(const LdapEntry& groupe) {
    if (ModeAnalyse >= Mode::Structure)
        return std::nullopt;
    const LdapAttribute* type = groupe.find(u"groupType");
    const LdapAttribute* sid = groupe.find(u"objectSid");
    return ridUtile(RidGroupePrincipal(type ? valeurAttribut(*type).toInt() : 0,
                                       sid ? valeurAttribut(*sid) : QVariant()));
}

std::optional<quint32> Analyse::ridUtile(std::optional<quint32> rid) {
    return rid && estGroupePrincipalPossible(*rid) ? rid : std::nullopt;
}

} // namespace arbrix

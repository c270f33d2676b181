#pragma once

// The names of foreign security principals: the objects under CN=ForeignSecurityPrincipals that
// stand, as members of the domain's groups, for the well-known identities ("Authenticated Users")
// and for the accounts and groups of trusted domains. Such an object is named by its SID alone.

#include <QList>
#include <QString>

#include <optional>

namespace arbrix {

class SessionAD;

// The translated name of a well-known SID ("S-1-5-11": "Utilisateurs authentifiés"); empty for
// any other SID.
QString NomSidBienConnu(const QString& sid);

struct DomaineApprouve {
    QString nom; // the NetBIOS name, else the DNS name
    QString sid; // the domain's SID, as text
};

// The domains the directory trusts (its trustedDomain objects), read once for an analysis.
// Empty when the directory holds none or refuses to tell.
QList<DomaineApprouve> LitDomainesApprouves(SessionAD& session);

// The label of a foreign principal named by its SID: the well-known name, else the SID followed
// by the name of the trusted domain it belongs to in brackets, else the SID alone.
QString LibellePrincipalEtranger(const QString& sid, const QList<DomaineApprouve>& domaines);

// The same, reading the trusts once, when the first SID that is not a well-known one needs them.
class NomsPrincipauxEtrangers {
public:
    explicit NomsPrincipauxEtrangers(SessionAD& session)
        : m_session(session) {}
    QString Libelle(const QString& sid);

private:
    SessionAD& m_session;
    std::optional<QList<DomaineApprouve>> m_domaines;
};

} // namespace arbrix

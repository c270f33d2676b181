// The analysis's reads of the directory beside its searches of each level: an O.U. root read in
// bulk, the groups' contents asked for ahead, and the lock-out state of accounts.

#include "tree/Analyse.h"

#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "settings/Parametres.h"
#include "text/Journal.h"
#include "tree/CollecteContenus.h"
#include "tree/EtatCompte.h"
#include "tree/LectureEnBloc.h"

using namespace Qt::StringLiterals;

namespace arbrix {

bool Analyse::estVerrouille(const Recordset& rs) {
    // The directory sets the lock-out bit only while "lockoutTime" is non-zero, so most accounts
    // are settled by the row itself. The others are weighed against the domain's lock-out
    // duration, as the directory does; where password policies of their own may set another
    // duration, the account's computed bit is read. Asking every row for that bit would double
    // what the searches cost the server.
    const QVariant calcule = rs.Fields(u"msDS-User-Account-Control-Computed");
    if (!calcule.isNull())
        return calcule.toLongLong() & 0x10;
    const qint64 depuis = rs.Fields(u"lockoutTime").toLongLong();
    if (depuis == 0)
        return false;
    if (const std::optional<qint64> duree = dureeVerrouillage()) {
        if (const std::optional<bool> verrouille = VerrouilleSelonDuree(depuis, *duree, maintenant()))
            return *verrouille;
    }
    const QString dn = rs.Fields(u"DistinguishedName").toString();
    try {
        const Recordset lu = litObjet(dn, {u"msDS-User-Account-Control-Computed"_s});
        if (!lu.Eof() && !lu.Fields(u"msDS-User-Account-Control-Computed").isNull())
            return lu.Fields(u"msDS-User-Account-Control-Computed").toLongLong() & 0x10;
    } catch (const DirectoryError&) {
        // Unreadable state: fall back on the lock-out time alone.
    }
    return true;
}

std::optional<qint64> Analyse::dureeVerrouillage() {
    if (m_dureeVerrouillage)
        return *m_dureeVerrouillage;
    m_dureeVerrouillage.emplace();
    try {
        // Fine-grained password policies live in one container of the domain; a domain without
        // one has none.
        const QString conteneur = u"CN=Password Settings Container,CN=System,"_s + baseRecherche();
        try {
            if (!m_session.ConnexionAD()
                     .Execute(searchRequest(conteneur, SearchScope::OneLevel,
                                            u"(objectClass=msDS-PasswordSettings)"_s, {u"cn"_s}))
                     .Eof())
                return std::nullopt;
        } catch (const DirectoryError& e) {
            if (e.ldapCode() != LdapCode::NoSuchObject)
                throw;
        }
        const Recordset domaine = litObjet(baseRecherche(), {u"lockoutDuration"_s});
        if (!domaine.Eof() && !domaine.Fields(u"lockoutDuration").isNull())
            m_dureeVerrouillage->emplace(domaine.Fields(u"lockoutDuration").toLongLong());
    } catch (const DirectoryError&) {
        // Unreadable: each account's computed bit is read.
    }
    return *m_dureeVerrouillage;
}

void Analyse::litEnBloc(const QString& dnOu) {
    ReglesLectureEnBloc regles;
    regles.base = baseRecherche();
    regles.ou = dnOu;
    regles.groupes = ModeAnalyse != Mode::Structure;
    if (ModeAnalyse < Mode::Structure) {
        regles.filtreMembres = filtreMembres();
        regles.filtreComptes = filtreComptes();
    }
    regles.attributsComptes = attributsComptes();
    regles.attributsGroupes = AttributsGroupes;
    regles.requetesSimultanees = m_parametres.RequetesSimultanees;
    try {
        m_bloc = std::make_unique<LectureEnBloc>(m_session.ConnexionAD().backend(), std::move(regles));
        qCInfo(lcAnalyse).noquote() << "O.U." << dnOu << "read in bulk:" << m_bloc->recherches()
                                    << "searches," << m_bloc->membresExterieurs() << "members from outside";
    } catch (const DirectoryError& e) {
        // A stop, or a server gone, ends the build; a refusal leaves the O.U. to be read level by level.
        const int code = e.ldapCode();
        if (code == LdapCode::UserCancelled || code == LdapCode::Timeout || code == LdapCode::ServerDown)
            throw;
        qCWarning(lcAnalyse).noquote() << "O.U." << dnOu << "not read in bulk:" << e.text();
    }
    m_collecte.reset();
}

QList<LdapEntry> Analyse::groupesDeLOU(const QString& dnOu) {
    if (m_bloc)
        return m_bloc->Groupes(dnOu);
    QList<LdapEntry> lignes;
    for (Recordset rs = m_session.ConnexionAD().Execute(
             searchRequest(dnOu, SearchScope::OneLevel, u"(objectCategory=group)"_s, AttributsGroupes));
         !rs.Eof(); rs.MoveNext())
        lignes.append(rs.current());
    return lignes;
}

Recordset Analyse::comptesDeLOU(const QString& dnOu) {
    if (m_bloc)
        return Recordset(m_bloc->Comptes(dnOu));
    return m_session.ConnexionAD().Execute(
        searchRequest(dnOu, SearchScope::OneLevel, filtreComptes(), attributsComptes()));
}

Recordset Analyse::sousOU(const QString& dnOu) {
    if (m_bloc)
        return Recordset(m_bloc->SousOU(dnOu));
    return m_session.ConnexionAD().Execute(searchRequest(
        dnOu, SearchScope::OneLevel,
        u"(&(objectCategory=OrganizationalUnit)(!"_s + FiltreEgalite(u"distinguishedName", dnOu) + u"))"_s,
        {u"name"_s, u"distinguishedName"_s}));
}

CollecteContenus& Analyse::collecte() {
    if (!m_collecte) {
        ReglesCollecte regles;
        regles.base = baseRecherche();
        if (ModeAnalyse < Mode::Structure)
            regles.filtreComptes = filtreMembres();
        regles.attributsComptes = attributsComptes();
        regles.attributsGroupes = AttributsGroupes;
        regles.porteeAttribut = m_session.RequetePorteeAttribut();
        regles.requetesSimultanees = m_parametres.RequetesSimultanees;
        regles.bloc = m_bloc.get();
        regles.ridPrincipal = [this](const LdapEntry& groupe) { return ridAChercher(groupe); };
        m_collecte = std::make_unique<CollecteContenus>(m_session.ConnexionAD().backend(), std::move(regles));
    }
    return *m_collecte;
}

} // namespace arbrix

#include "directory/Session.h"

#include "directory/Classification.h"
#include "directory/Dn.h"

#include <krb5/krb5.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace arbrix {

AccesAnnuaire AccesAnnuaire::depuis(const Parametres& parametres) {
    AccesAnnuaire acces;
    acces.AccesAD = parametres.AccesAD;
    acces.AccesADDomaine = parametres.AccesADDomaine;
    acces.AccesADLogin = parametres.AccesADLogin;
    acces.AccesADPassword = parametres.AccesADPassword;
    acces.AccesADSansTLS = parametres.AccesADSansTLS;
    return acces;
}

static Credentials credentialsFor(const AccesAnnuaire& acces) {
    Credentials c;
    c.accessMode = acces.AccesAD;
    if (acces.AccesAD > 0) {
        c.login = acces.AccesADLogin;
        c.password = acces.AccesADPassword;
        c.cleartextAllowed = acces.AccesADSansTLS;
    }
    if (acces.AccesAD == 2)
        c.domain = acces.AccesADDomaine;
    return c;
}

SessionAD::SessionAD(std::shared_ptr<Backend> backend, AccesAnnuaire acces)
    : m_acces(std::move(acces))
    , m_connexion(std::move(backend), credentialsFor(m_acces))
    , m_nomSysteme(&NomUtilisateurSysteme) {}

void SessionAD::definitNomUtilisateurSysteme(std::function<QString()> source) {
    m_nomSysteme = std::move(source);
}

QString SessionAD::nomUtilisateur() const {
    return m_acces.AccesAD == 0 ? m_nomSysteme() : m_acces.AccesADLogin;
}

ResultatSession SessionAD::echec(IssueSession issue, const DirectoryError& erreur) const {
    return {issue, erreur.number(), erreur.text(), erreur.ldapCode(), m_connexion.backend().address()};
}

ResultatSession SessionAD::Ouvre() {
    ResultatSession resultat;
    const bool domaineDonne = m_acces.AccesAD == 2;
    // Authenticating is the first thing the root lookup needs: a refused bind is a root failure.
    try {
        m_connexion.Open(domaineDonne ? m_acces.AccesADDomaine : QString());
    } catch (const DirectoryError& e) {
        return echec(IssueSession::EchecRacine, e);
    }

    if (domaineDonne)
        m_baseRechercheAD = DoubleApostrophes(m_acces.AccesADDomaine);
    const QString cheminRootDse =
        domaineDonne ? u"LDAP://"_s + m_baseRechercheAD + u"/RootDSE"_s : u"LDAP://RootDSE"_s;
    QString contexte;
    try {
        const std::unique_ptr<DirectoryObject> rootDse = m_connexion.Bind(cheminRootDse);
        contexte = rootDse->Get(u"defaultNamingContext").toString();
        m_requetePorteeAttribut = rootDse->GetEx(u"supportedControl")
                                      .toStringList()
                                      .contains(QLatin1StringView(AttributeScopedQueryOid));
    } catch (const DirectoryError& e) {
        return echec(IssueSession::EchecRacine, e);
    }
    if (contexte.isEmpty())
        return {IssueSession::EchecRacine, 0, {}, 0, m_connexion.backend().address()};

    m_contexte = contexte;
    if (!domaineDonne)
        m_baseRechercheAD = DoubleApostrophes(contexte);
    // The root is bound by its real name: a doubled quote is not part of it.
    const QString cheminRacine =
        domaineDonne ? u"LDAP://"_s + m_baseRechercheAD : ComposeCheminLdap(QString(), contexte);
    try {
        m_connexion.Bind(cheminRacine);
    } catch (const DirectoryError& e) {
        return echec(IssueSession::EchecAcces, e);
    }

    m_utilisateurAffiche = nomUtilisateur() + u'@' + NomDnsDomaine();
    resultat.issue = IssueSession::Ouverte;
    return resultat;
}

QString SessionAD::NomDnsDomaine() const {
    return NomDnsDepuisDn(m_contexte);
}

std::unique_ptr<DirectoryObject> SessionAD::OuvreADSI(const QString& chemin) noexcept {
    try {
        return m_connexion.Bind(chemin);
    } catch (...) {
        return nullptr;
    }
}

QString SessionAD::CheminObjet(const QString& dn) const {
    return arbrix::CheminObjet(dn, m_acces.AccesAD, m_baseRechercheAD);
}

// The principal of the default credentials cache without its realm, read from the cache itself
// (the krb5 tools print it in the user's language); empty when there is no cache.
static QString principalSansRoyaume() {
    krb5_context contexte = nullptr;
    if (krb5_init_context(&contexte) != 0)
        return {};
    QString nom;
    krb5_ccache cache = nullptr;
    if (krb5_cc_default(contexte, &cache) == 0) {
        krb5_principal principal = nullptr;
        if (krb5_cc_get_principal(contexte, cache, &principal) == 0) {
            char* texte = nullptr;
            if (krb5_unparse_name_flags(contexte, principal,
                                        KRB5_PRINCIPAL_UNPARSE_NO_REALM | KRB5_PRINCIPAL_UNPARSE_DISPLAY,
                                        &texte) == 0) {
                nom = QString::fromUtf8(texte);
                krb5_free_unparsed_name(contexte, texte);
            }
            krb5_free_principal(contexte, principal);
        }
        krb5_cc_close(contexte, cache);
    }
    krb5_free_context(contexte);
    return nom;
}

static QString nomDeConnexion() {
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
    const QString logname = qEnvironmentVariable("LOGNAME");
    if (!logname.isEmpty())
        return logname;
    if (const passwd* pw = getpwuid(getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return {};
}

QString NomUtilisateurSysteme() {
    const QString principal = principalSansRoyaume();
    return principal.isEmpty() ? nomDeConnexion() : principal;
}

// ---- The program-wide session ----

static std::shared_ptr<SessionAD>& sessionGlobale() {
    static std::shared_ptr<SessionAD> session;
    return session;
}

void InstalleSession(std::shared_ptr<SessionAD> session) {
    sessionGlobale() = std::move(session);
}

SessionAD* SessionCourante() {
    return sessionGlobale().get();
}

} // namespace arbrix

#pragma once

// The directory session: one query connection for the program's life, the search base, the name
// shown in the window caption, and the one bind operation of the program.
//
// Opening: the backend is bound with the access settings (mode 0: the user's own Kerberos
// ticket; modes 1 and 2: the configured login and password, mode 2 on the configured domain),
// then the RootDSE is read for "defaultNamingContext" and the root object is bound. Failures are
// results, not messages: the window shows them and offers the configuration.

#include "directory/Gateway.h"
#include "settings/Parametres.h"

#include <QString>

#include <functional>
#include <memory>

namespace arbrix {

// The access settings the session uses (keys of section "Config").
struct AccesAnnuaire {
    qint16 AccesAD = 0;
    QString AccesADDomaine;
    QString AccesADLogin;
    QString AccesADPassword;
    bool AccesADSansTLS = false;

    static AccesAnnuaire depuis(const Parametres& parametres);
};

enum class IssueSession {
    Ouverte,     // connection open, root resolved and bound
    EchecRacine, // no RootDSE or no default naming context ("MSG_ERREUR_RECHERCHE_ROOT_AD")
    EchecAcces,  // the root object cannot be bound ("MSG_ERREUR_ACCES_AD")
};

struct ResultatSession {
    IssueSession issue = IssueSession::EchecRacine;
    qint32 numero = 0; // the directory error behind a failure, 0 when none was raised
    QString texte;     // its text (the server's diagnostic), empty when none
    int codeLdap = 0;  // its LDAP result code, 0 when none
    QString serveur;   // the directory that failed (URIs or file), empty when unknown
    bool reussi() const { return issue == IssueSession::Ouverte; }
};

class SessionAD {
public:
    SessionAD(std::shared_ptr<Backend> backend, AccesAnnuaire acces);

    // Opens the connection and resolves the root. Never raises.
    ResultatSession Ouvre();

    DirectoryConnection& ConnexionAD() { return m_connexion; }
    // With mode 2 the configured domain name, otherwise the default naming context; single
    // quotes doubled in both cases (the mode-2 path prefix carries it so; Bind undoes them).
    const QString& BaseRechercheAD() const { return m_baseRechercheAD; }
    // "account@dns.domain" for the window caption.
    const QString& UtilisateurAffiche() const { return m_utilisateurAffiche; }
    qint16 AccesAD() const { return m_acces.AccesAD; }
    // Where the directory is: the server URIs in use or the embedded directory's file.
    QString AdresseAnnuaire() const { return m_connexion.backend().address(); }
    // The default naming context as read (quotes not doubled); empty before Ouvre succeeds.
    const QString& ContexteNommage() const { return m_contexte; }
    // True when the server's RootDSE lists the attribute scoped query among its controls.
    bool RequetePorteeAttribut() const { return m_requetePorteeAttribut; }
    // Forgoes the attribute scoped query: tests and benchmarks compare both ways of asking.
    void renonceRequetePorteeAttribut() { m_requetePorteeAttribut = false; }
    // The domain's DNS name ("example.test" for DC=example,DC=test).
    QString NomDnsDomaine() const;

    // Binds an object by its "LDAP://" path; nullptr on any failure. Never raises.
    std::unique_ptr<DirectoryObject> OuvreADSI(const QString& chemin) noexcept;
    // The object path of a DN: "LDAP://", the mode-2 prefix, the DN with "/" escaped.
    QString CheminObjet(const QString& dn) const;

    // The user name of mode 0; by default NomUtilisateurSysteme. Tests replace it.
    void definitNomUtilisateurSysteme(std::function<QString()> source);

private:
    QString nomUtilisateur() const;
    ResultatSession echec(IssueSession issue, const DirectoryError& erreur) const;

    AccesAnnuaire m_acces;
    DirectoryConnection m_connexion;
    QString m_baseRechercheAD;
    QString m_contexte;
    bool m_requetePorteeAttribut = false;
    QString m_utilisateurAffiche;
    std::function<QString()> m_nomSysteme;
};

// The name of the user running the program: the principal of the default Kerberos credentials
// cache without its realm when there is a cache, else the login name.
QString NomUtilisateurSysteme();

// The program-wide session, installed once at start-up.
void InstalleSession(std::shared_ptr<SessionAD> session);
SessionAD* SessionCourante();

} // namespace arbrix

#include "directory/EchecConnexion.h"

#include "directory/DirectoryError.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace arbrix {

// Active Directory's reason for a refused bind: "..., data 775, v1db1".
static CauseEchecConnexion causeDuRefus(const QString& diagnostic) {
    static const QRegularExpression donnee(u"\\bdata ([0-9a-f]+)\\b"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const QString code = donnee.match(diagnostic).captured(1).toLower();
    if (code == u"533")
        return CauseEchecConnexion::CompteDesactive;
    if (code == u"775")
        return CauseEchecConnexion::CompteVerrouille;
    if (code == u"701")
        return CauseEchecConnexion::CompteExpire;
    if (code == u"532")
        return CauseEchecConnexion::MotDePasseExpire;
    if (code == u"773")
        return CauseEchecConnexion::MotDePasseAChanger;
    return CauseEchecConnexion::Identifiants;
}

CauseEchecConnexion CauseEchec(int codeLdap, const QString& diagnostic, qint16 accesAD) {
    switch (codeLdap) {
    case LdapCode::InvalidCredentials:
        return causeDuRefus(diagnostic);
    case LdapCode::ConnectError:
        return CauseEchecConnexion::Certificat;
    case LdapCode::TlsNotOffered:
        return CauseEchecConnexion::TlsNonOffert;
    case LdapCode::ServerDown:
    case LdapCode::Timeout:
        return CauseEchecConnexion::ServeurInjoignable;
    case LdapCode::StrongAuthRequired:
    case LdapCode::ConfidentialityRequired:
        return accesAD == 0 ? CauseEchecConnexion::Autre : CauseEchecConnexion::ChiffrementExige;
    case LdapCode::LocalError:
        // SASL's GSSAPI layer fails locally when there is no ticket to present.
        return accesAD == 0 ? CauseEchecConnexion::TicketKerberosAbsent : CauseEchecConnexion::Autre;
    default:
        return CauseEchecConnexion::Autre;
    }
}

// The text of each cause, and whether it names the account (else the server).
struct TexteCause {
    CauseEchecConnexion cause;
    const char16_t* cle;
    bool nommeLeCompte;
};

static const TexteCause* texteDe(CauseEchecConnexion cause) {
    using C = CauseEchecConnexion;
    static const TexteCause textes[] = {
        {C::Certificat, u"MSG_ERREUR_CONNEXION_CERTIFICAT", false},
        {C::Identifiants, u"MSG_ERREUR_CONNEXION_IDENTIFIANTS", true},
        {C::CompteDesactive, u"MSG_ERREUR_CONNEXION_COMPTE_DESACTIVE", true},
        {C::CompteVerrouille, u"MSG_ERREUR_CONNEXION_COMPTE_VERROUILLE", true},
        {C::CompteExpire, u"MSG_ERREUR_CONNEXION_COMPTE_EXPIRE", true},
        {C::MotDePasseExpire, u"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_EXPIRE", true},
        {C::MotDePasseAChanger, u"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_A_CHANGER", true},
        {C::ServeurInjoignable, u"MSG_ERREUR_CONNEXION_INJOIGNABLE", false},
        {C::ChiffrementExige, u"MSG_ERREUR_CONNEXION_CHIFFREMENT_EXIGE", false},
        {C::TlsNonOffert, u"MSG_ERREUR_CONNEXION_SANS_TLS", false},
        {C::TicketKerberosAbsent, u"MSG_ERREUR_CONNEXION_KERBEROS", false},
    };
    for (const TexteCause& t : textes)
        if (t.cause == cause)
            return &t;
    return nullptr;
}

static QString avecDiagnostic(const QString& message, const QString& diagnostic) {
    return diagnostic.isEmpty() ? message : message + u"\r\n\r\n"_s + diagnostic;
}

QString MessageEchecSession(const ResultatSession& resultat, qint16 accesAD, const QString& login) {
    const TexteCause* texte = texteDe(CauseEchec(resultat.codeLdap, resultat.texte, accesAD));
    if (!texte) {
        const bool racine = resultat.issue != IssueSession::EchecAcces;
        return avecDiagnostic(Traduction(racine ? u"MSG_ERREUR_RECHERCHE_ROOT_AD" : u"MSG_ERREUR_ACCES_AD"),
                              resultat.texte);
    }
    const QString nomme = texte->nommeLeCompte         ? login
                          : resultat.serveur.isEmpty() ? Traduction(u"TXT_SERVEUR_DECOUVERT")
                                                       : resultat.serveur;
    return avecDiagnostic(FormateMessage(Traduction(texte->cle), {nomme}), resultat.texte);
}

QString MessageEchecAnnuaire(const AnnuaireOuvert& annuaire) {
    return avecDiagnostic(Traduction(u"MSG_ERREUR_ACCES_AD"), annuaire.erreur);
}

} // namespace arbrix

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

static QString cleMessage(CauseEchecConnexion cause) {
    switch (cause) {
    case CauseEchecConnexion::Certificat:
        return u"MSG_ERREUR_CONNEXION_CERTIFICAT"_s;
    case CauseEchecConnexion::Identifiants:
        return u"MSG_ERREUR_CONNEXION_IDENTIFIANTS"_s;
    case CauseEchecConnexion::CompteDesactive:
        return u"MSG_ERREUR_CONNEXION_COMPTE_DESACTIVE"_s;
    case CauseEchecConnexion::CompteVerrouille:
        return u"MSG_ERREUR_CONNEXION_COMPTE_VERROUILLE"_s;
    case CauseEchecConnexion::CompteExpire:
        return u"MSG_ERREUR_CONNEXION_COMPTE_EXPIRE"_s;
    case CauseEchecConnexion::MotDePasseExpire:
        return u"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_EXPIRE"_s;
    case CauseEchecConnexion::MotDePasseAChanger:
        return u"MSG_ERREUR_CONNEXION_MOT_DE_PASSE_A_CHANGER"_s;
    case CauseEchecConnexion::ServeurInjoignable:
        return u"MSG_ERREUR_CONNEXION_INJOIGNABLE"_s;
    case CauseEchecConnexion::ChiffrementExige:
        return u"MSG_ERREUR_CONNEXION_CHIFFREMENT_EXIGE"_s;
    case CauseEchecConnexion::TicketKerberosAbsent:
        return u"MSG_ERREUR_CONNEXION_KERBEROS"_s;
    case CauseEchecConnexion::Autre:
        break;
    }
    return {};
}

static bool nommeLeCompte(CauseEchecConnexion cause) {
    switch (cause) {
    case CauseEchecConnexion::Identifiants:
    case CauseEchecConnexion::CompteDesactive:
    case CauseEchecConnexion::CompteVerrouille:
    case CauseEchecConnexion::CompteExpire:
    case CauseEchecConnexion::MotDePasseExpire:
    case CauseEchecConnexion::MotDePasseAChanger:
        return true;
    default:
        return false;
    }
}

static QString avecDiagnostic(const QString& message, const QString& diagnostic) {
    return diagnostic.isEmpty() ? message : message + u"\r\n\r\n"_s + diagnostic;
}

QString MessageEchecSession(const ResultatSession& resultat, qint16 accesAD, const QString& login) {
    const CauseEchecConnexion cause = CauseEchec(resultat.codeLdap, resultat.texte, accesAD);
    const QString cle = cleMessage(cause);
    if (cle.isEmpty()) {
        const bool racine = resultat.issue != IssueSession::EchecAcces;
        return avecDiagnostic(Traduction(racine ? u"MSG_ERREUR_RECHERCHE_ROOT_AD" : u"MSG_ERREUR_ACCES_AD"),
                              resultat.texte);
    }
    const QString nomme = nommeLeCompte(cause)         ? login
                          : resultat.serveur.isEmpty() ? Traduction(u"TXT_SERVEUR_DECOUVERT")
                                                       : resultat.serveur;
    return avecDiagnostic(FormateMessage(Traduction(cle), {nomme}), resultat.texte);
}

QString MessageEchecAnnuaire(const AnnuaireOuvert& annuaire) {
    return avecDiagnostic(Traduction(u"MSG_ERREUR_ACCES_AD"), annuaire.erreur);
}

} // namespace arbrix

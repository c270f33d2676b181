#pragma once

// Why the directory could not be used, told the same way by both programs: the cause in the
// user's words with what to do about it, then the server's own diagnostic.

#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"

#include <QString>

namespace arbrix {

enum class CauseEchecConnexion {
    Autre,               // none of the causes below: the general message of the failed step
    Certificat,          // TLS refused: certificate not trusted or issued for another name
    Identifiants,        // wrong login or password
    CompteDesactive,     // account disabled
    CompteVerrouille,    // account locked out
    CompteExpire,        // account expired
    MotDePasseExpire,    // password expired
    MotDePasseAChanger,  // password to be changed at next logon
    ServeurInjoignable,  // no answer within the timeout, or no server found
    ChiffrementExige,    // the server requires an encrypted connection that was not made
    TlsNonOffert,        // a password was to be sent, but the server offers no TLS
    TicketKerberosAbsent // mode 0 without a usable Kerberos ticket
};

// The cause of a failed connection from its LDAP result code and diagnostic (Active Directory
// puts the reason of a refused bind in it, as "data 52e").
CauseEchecConnexion CauseEchec(int codeLdap, const QString& diagnostic, qint16 accesAD);

// The message of a session that did not open (translated, diagnostic kept after it).
QString MessageEchecSession(const ResultatSession& resultat, qint16 accesAD, const QString& login);
// The message of a directory that could not even be opened (unusable address or file).
QString MessageEchecAnnuaire(const AnnuaireOuvert& annuaire);

} // namespace arbrix

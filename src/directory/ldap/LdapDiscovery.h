#pragma once

// Where the directory is when nothing names it: libldap's defaults (ldap.conf, LDAPURI), else
// the domain controllers that the DNS SRV records "_ldap._tcp.dc._msdcs.<domain>" list, the
// domain being the Kerberos default realm or the host's DNS domain.

#include <QString>
#include <QStringList>

namespace arbrix {

// Splits a list of URIs written with spaces and/or commas.
QStringList DecoupeUris(const QString& uris);
// A host, domain, "host:port" or URI as an LDAP URI ("dc1.example.test" -> "ldap://dc1.example.test").
QString UriDuServeur(const QString& serveur);
// The "default_realm" of the [libdefaults] section of a krb5.conf text; empty when none.
QString RoyaumeDepuisKrb5Conf(const QString& texte);
// The Kerberos default realm of this machine (KRB5_CONFIG files, else /etc/krb5.conf).
QString RoyaumeKerberosParDefaut();
// The DNS domain of this host: its canonical name without the first label, else the "domain"
// or first "search" entry of /etc/resolv.conf; empty when none.
QString DomaineDnsDeLHote();
// The domain whose controllers are looked up: the default realm in lower case, else the host's
// DNS domain.
QString DomaineADecouvrir();
// The URIs libldap would use by itself (ldap.conf URI/HOST, LDAPURI, LDAPHOST); empty when
// nothing is configured and libldap would only try its built-in localhost.
QString UrisLibldapParDefaut();
// "ldap://host:port" for each "host:port" of a space-separated SRV host list, in its order.
QStringList UrisDepuisListeSrv(const QString& listeHotes);
// The domain controllers of a domain from DNS SRV records, best first; empty when none.
QStringList ControleursDuDomaine(const QString& domaine);
// True when the name resolves to an address.
bool NomResolu(const QString& nom);
// True when the host and port of an LDAP URI accept a TCP connection within the timeout.
bool PortJoignable(const QString& uri, int secondes);

} // namespace arbrix

#include "directory/ldap/LdapDiscovery.h"

#include "directory/ldap/LdapHandles.h"

#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>

using namespace Qt::StringLiterals;

namespace arbrix {

QStringList DecoupeUris(const QString& uris) {
    static const QRegularExpression separators(u"[\\s,]+"_s);
    return uris.split(separators, Qt::SkipEmptyParts);
}

QString UriDuServeur(const QString& serveur) {
    const QString name = serveur.trimmed();
    if (name.isEmpty() || name.contains(u"://"_s))
        return name;
    return u"ldap://"_s + name;
}

QString RoyaumeDepuisKrb5Conf(const QString& texte) {
    static const QRegularExpression section(u"^\\s*\\[\\s*([^\\]\\s]+)\\s*\\]"_s);
    static const QRegularExpression realm(u"^\\s*default_realm\\s*=\\s*(\\S+)"_s);
    bool inLibdefaults = false;
    const QStringList lines = texte.split(u'\n');
    for (const QString& line : lines) {
        if (const auto s = section.match(line); s.hasMatch()) {
            inLibdefaults = s.captured(1) == u"libdefaults"_s;
            continue;
        }
        if (inLibdefaults) {
            if (const auto r = realm.match(line); r.hasMatch())
                return r.captured(1);
        }
    }
    return {};
}

QString RoyaumeKerberosParDefaut() {
    QStringList files = qEnvironmentVariable("KRB5_CONFIG").split(u':', Qt::SkipEmptyParts);
    if (files.isEmpty())
        files << u"/etc/krb5.conf"_s;
    for (const QString& path : std::as_const(files)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString realm = RoyaumeDepuisKrb5Conf(QString::fromUtf8(file.readAll()));
        if (!realm.isEmpty())
            return realm;
    }
    return {};
}

static QString canonicalHostName() {
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    addrinfo hints{};
    hints.ai_flags = AI_CANONNAME;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &result) != 0 || !result)
        return QString::fromLocal8Bit(host);
    const QString name = QString::fromLocal8Bit(result->ai_canonname ? result->ai_canonname : host);
    freeaddrinfo(result);
    return name;
}

static QString resolvConfDomain() {
    QFile file(u"/etc/resolv.conf"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression entry(u"^\\s*(domain|search)\\s+(\\S+)"_s);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (const auto m = entry.match(line); m.hasMatch())
            return m.captured(2);
    }
    return {};
}

QString DomaineDnsDeLHote() {
    const QString host = canonicalHostName();
    const qsizetype dot = host.indexOf(u'.');
    if (dot > 0 && dot + 1 < host.size())
        return host.mid(dot + 1);
    return resolvConfDomain();
}

QString DomaineADecouvrir() {
    const QString realm = RoyaumeKerberosParDefaut();
    if (!realm.isEmpty())
        return realm.toLower();
    return DomaineDnsDeLHote();
}

QString UrisLibldapParDefaut() {
    char* raw = nullptr;
    if (ldap_get_option(nullptr, LDAP_OPT_URI, &raw) != LDAP_OPT_SUCCESS || !raw)
        return {};
    ldapraii::Memory owner(raw);
    const QString uris = QString::fromUtf8(raw);
    // libldap's own fallback when neither ldap.conf nor the environment names a server.
    if (uris == u"ldap://localhost:389/??base"_s || uris == u"ldap://localhost/"_s)
        return {};
    return uris;
}

QStringList UrisDepuisListeSrv(const QString& listeHotes) {
    QStringList uris;
    const QStringList hosts = listeHotes.split(u' ', Qt::SkipEmptyParts);
    for (const QString& host : hosts)
        uris << u"ldap://"_s + host;
    return uris;
}

QStringList ControleursDuDomaine(const QString& domaine) {
    if (domaine.trimmed().isEmpty())
        return {};
    char* list = nullptr;
    const QByteArray query = (u"dc._msdcs."_s + domaine.trimmed()).toUtf8();
    if (ldap_domain2hostlist(query.constData(), &list) != LDAP_SUCCESS || !list)
        return {};
    ldapraii::Memory owner(list);
    return UrisDepuisListeSrv(QString::fromUtf8(list));
}

bool NomResolu(const QString& nom) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const QByteArray host = nom.toUtf8();
    if (getaddrinfo(host.constData(), nullptr, &hints, &result) != 0)
        return false;
    freeaddrinfo(result);
    return true;
}

static bool connecteAvecDelai(const addrinfo& adresse, int secondes) {
    const int descripteur = socket(adresse.ai_family, adresse.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descripteur < 0)
        return false;
    bool connecte = connect(descripteur, adresse.ai_addr, adresse.ai_addrlen) == 0;
    if (!connecte && errno == EINPROGRESS) {
        pollfd attente{descripteur, POLLOUT, 0};
        int erreur = 0;
        socklen_t taille = sizeof erreur;
        connecte = poll(&attente, 1, secondes * 1000) == 1 &&
                   getsockopt(descripteur, SOL_SOCKET, SO_ERROR, &erreur, &taille) == 0 && erreur == 0;
    }
    close(descripteur);
    return connecte;
}

bool PortJoignable(const QString& uri, int secondes) {
    LDAPURLDesc* description = nullptr;
    const QByteArray texte = uri.toUtf8();
    if (ldap_url_parse(texte.constData(), &description) != LDAP_URL_SUCCESS)
        return false;
    const QByteArray hote =
        description->lud_host && *description->lud_host ? description->lud_host : "localhost";
    const int port = description->lud_port > 0                        ? description->lud_port
                     : qstrcmp(description->lud_scheme, "ldaps") == 0 ? 636
                                                                      : 389;
    ldap_free_urldesc(description);

    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* adresses = nullptr;
    if (getaddrinfo(hote.constData(), QByteArray::number(port).constData(), &hints, &adresses) != 0)
        return false;
    bool joignable = false;
    for (const addrinfo* a = adresses; a && !joignable; a = a->ai_next)
        joignable = connecteAvecDelai(*a, std::max(1, secondes));
    freeaddrinfo(adresses);
    return joignable;
}

} // namespace arbrix

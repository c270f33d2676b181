#pragma once

// Distinguished names as the directory writes them: "CN=Smith\, John,OU=Sales,DC=example,DC=test".
// Parsing follows the LDAP string form (escaped specials, "\XX" hex pairs, quoted values, "#" BER
// values, multi-valued RDNs joined by "+"), so a comma inside a name never splits it. Two DNs are
// equal when their normalised forms are: attribute types and values compared without regard to
// case, escapes resolved, insignificant spaces dropped.

#include <QList>
#include <QString>

#include <optional>

namespace arbrix {

struct RdnAttribute {
    QString type;  // as spelt: "CN", "ou"
    QString value; // unescaped: "Smith, John"
};

// One relative name: usually one type=value pair, several when joined by "+".
struct Rdn {
    QList<RdnAttribute> attributes;
    QString text; // as spelt in the DN, escapes kept: "CN=Smith\, John"
};

class Dn {
public:
    Dn() = default;

    // Parses a DN; nullopt when the text is not a valid DN. An empty text is the empty DN.
    static std::optional<Dn> parse(QStringView text);

    bool isEmpty() const { return m_rdns.isEmpty(); }
    qsizetype size() const { return m_rdns.size(); }
    // RDNs from the leaf (0) to the root.
    const Rdn& rdn(qsizetype i) const { return m_rdns.at(i); }
    const QList<Rdn>& rdns() const { return m_rdns; }

    // The DN as spelt (RDN texts joined by ",").
    QString toString() const;
    // The normalised form: the key for equality, hashing and ancestry tests.
    QString normalized() const;

    // The container's DN (empty for a one-RDN DN or the empty DN).
    Dn parent() const;
    // A DN made of rdn followed by this one.
    Dn child(const Rdn& rdn) const;
    // True when this DN lies below ancestor (not equal to it).
    bool isDescendantOf(const Dn& ancestor) const;

    friend bool operator==(const Dn& a, const Dn& b) { return a.normalized() == b.normalized(); }

private:
    QList<Rdn> m_rdns;
};

// Escapes a value for a DN (commas, plus, quotes, backslash, angle brackets, semicolon, equals,
// a leading "#" or space, a trailing space, NUL).
QString EchappeValeurDn(QStringView value);
// Parses "type=value" written by a user ("CN=Smith, John" is one RDN whose value holds a comma)
// or already escaped ("CN=Smith\, John"); returns the RDN escaped for a DN. A value that is
// already a valid escaped RDN value is kept as it is. nullopt when there is no "type=" or the
// value is empty.
std::optional<Rdn> RdnDepuisSaisie(QStringView text);
// Parses one escaped RDN ("CN=Smith\, John"); nullopt when invalid.
std::optional<Rdn> AnalyseRdn(QStringView text);

// Text helpers over DNs as callers hold them. Invalid DNs fall back to plain text rules
// (normalisation: trimmed and lower-cased).
QString DnNormalise(QStringView dn);
bool DnEgaux(QStringView a, QStringView b);
// Whether the normalised DN is the normalised base or lies below it.
bool DnNormaliseSousBase(QStringView dnNormalise, QStringView baseNormalisee);
// The container's DN as spelt ("OU=Sales,DC=x" for "CN=a\,b,OU=Sales,DC=x"); empty when none.
QString DnParent(QStringView dn);
// The first RDN as spelt ("CN=a\,b").
QString DnRdn(QStringView dn);
// The unescaped value of the first RDN ("a,b").
QString DnValeurRdn(QStringView dn);

// "a.b.c" from "DC=a,DC=b,DC=c" (only the DC components, in order); empty when none.
QString NomDnsDepuisDn(const QString& dn);

// An "LDAP://" path: "LDAP://[server/]DN", where "/" inside the DN is written "\/".
// "LDAP://RootDSE" and "LDAP://server/RootDSE" name the root DSE; "LDAP://server" alone names the
// server's default naming context.
struct CheminLdap {
    QString serveur; // empty when the path names no server
    QString dn;      // "/" escapes removed; empty for the RootDSE or a server alone
    bool rootDse = false;
};

// Parses an "LDAP://" path (the scheme without regard to case); nullopt when it is not one.
std::optional<CheminLdap> AnalyseCheminLdap(QStringView chemin);
// Writes a path: "LDAP://" + (server + "/") + the DN with every "/" written "\/".
QString ComposeCheminLdap(const QString& serveur, const QString& dn);

} // namespace arbrix

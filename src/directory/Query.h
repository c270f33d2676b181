#pragma once

// The one translator of query texts into LDAP search requests, used by every backend:
//   SQL:  SELECT a, b FROM 'LDAP://[server/]base' WHERE x='v' AND (y='w*' OR NOT z<>'u')
//   LDAP: <LDAP://[server/]base>;(filter);a, b
// Values taken from a SQL WHERE clause are escaped for the LDAP filter; "*" stays the wildcard,
// except for attributes holding DNs, where it is a plain character. LDAP-dialect filters are
// passed on as written: callers escape what they insert with EchappeValeurFiltre.

#include "directory/Backend.h"

#include <QString>

namespace arbrix {

struct RequeteTraduite {
    QString serveur;          // the server part of the base path, empty when none
    bool baseServeur = false; // the path named a server alone: the base is its naming context
    SearchRequest requete;    // base DN ("/" escapes removed), scope, filter, attributes
};

// Translates a query text in either dialect. Raises DirectoryError (ErrorNumber::QuerySyntax)
// when the text is not a query either dialect accepts.
RequeteTraduite TraduitRequete(QStringView texte, SearchScope portee = SearchScope::Subtree,
                               int taillePage = 1000);

// Escapes a value for an LDAP filter: "*", "(", ")", "\" and NUL become "\2a", "\28", "\29",
// "\5c", "\00".
QString EchappeValeurFiltre(QStringView valeur);
// "(attribute=value)" with the value escaped: an exact match.
QString FiltreEgalite(QStringView attribut, QStringView valeur);
// The same, keeping "*" as the wildcard: for the user's text in prefix searches.
QString EchappeValeurFiltreGenerique(QStringView valeur);

// True for attributes whose values are DNs (distinguishedName, member, memberOf, managedBy, ...):
// no wildcard applies to them.
bool EstAttributDn(QStringView attribut);

// Checks that a filter text is a well-formed LDAP filter (balanced, known operators, valid
// escapes). Used by the translator on LDAP-dialect filters before a backend sees them.
bool FiltreBienForme(QStringView filtre);

} // namespace arbrix

#pragma once

// How attribute values read from the directory are typed for callers: integers for the integer
// attributes, byte arrays for binary ones, lists for multi-valued ones.

#include "directory/Backend.h"

#include <QDateTime>
#include <QVariant>

namespace arbrix {

enum class SyntaxeAttribut { Texte, Entier32, Entier64, Binaire, Dn };

SyntaxeAttribut SyntaxeDe(QStringView attribut);
// True for attributes the schema declares multi-valued (they read as lists even with one value).
bool EstMultiValue(QStringView attribut);

// The value callers see: null when there is no value; QStringList (or a list of byte arrays) for
// a multi-valued attribute or one holding several values; int, qlonglong, QByteArray or QString
// otherwise.
QVariant valeurAttribut(const LdapAttribute& attribute);
// The raw values to store for a value given by a caller (a list stores several).
QList<QByteArray> octetsValeur(const QVariant& value);

// A Windows FILETIME (100 ns since 1601-01-01 UTC) as a local date-time; 0 and the largest value
// mean "never" and give 1970-01-01 00:00 local time.
QDateTime DateDepuisFiletime(qint64 filetime);
inline constexpr qint64 FiletimeJamais = 9223372036854775807LL;

} // namespace arbrix

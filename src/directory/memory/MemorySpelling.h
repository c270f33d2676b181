#pragma once

// DNs as the embedded directory spells and keys them, most of them read without a full parse:
// loading a large file spends its time here.

#include "directory/Dn.h"

#include <QString>

namespace arbrix {

// The DN as the directory spells it: usual types in capitals, values escaped one way.
QString canonicalDn(const Dn& dn);
// The spelling canonicalDn gives the usual DN (printable ASCII, one type=value per RDN, no
// escapes, quotes or hex values), written without parsing the DN into RDNs; false for any other
// DN, the empty one included.
bool plainCanonicalDn(QStringView dn, QString& out);
// The parent's normalised DN, cut from a normalised DN: commas inside values are escaped there.
QStringView parentOfNormalized(QStringView ndn);
// The first RDN of a DN as the directory spells it: its values are escaped, so that the first
// unescaped comma ends the RDN.
Rdn firstRdn(const QString& dn);
// The type and value of the first RDN of a DN as the directory spells it, seen in the DN itself
// when that RDN holds no escape, quote, "+" or hex value; false otherwise.
bool plainLeaf(QStringView dn, QStringView& type, QStringView& value);
// An attribute type in lower case, the usual ones without a copy.
QString lowerName(QStringView type);
// True when utf8 is the UTF-8 form of value; compared in place for ASCII text.
bool isSpelling(const QByteArray& utf8, QStringView value);
// True when ndn names base or an entry below it (both normalised).
bool isAtOrBelow(const QString& ndn, const QString& base);
// The naming context a DN lies in: its trailing DC= components, as the directory spells them.
QString namingContextOf(const Dn& dn);

} // namespace arbrix

#pragma once

// Security identifiers in their binary form, as "objectSid" holds them: a revision, the count of
// sub-authorities, a 6-byte big-endian authority, then the 32-bit little-endian sub-authorities,
// the last of which is the relative identifier (RID) within the domain.

#include <QByteArray>
#include <QString>

#include <optional>

namespace arbrix {

// The relative identifier (last sub-authority) of a binary SID; nullopt when it is not one.
std::optional<quint32> RidDepuisSid(const QByteArray& sid);
// The binary form of a SID written "S-1-5-21-a-b-c-rid"; empty when the text does not start as
// one.
QByteArray SidDepuisTexte(const QByteArray& texte);
// The text form "S-1-5-21-a-b-c-rid" of a binary SID; empty when the bytes are not one.
QString TexteSid(const QByteArray& sid);
// The SID of an object of the domain: the domain's SID with rid as one more sub-authority.
QByteArray SidAvecRid(const QByteArray& sidDomaine, quint32 rid);

} // namespace arbrix

#pragma once

// Reading LDIF text (content and change records) into records the embedded directory applies.

#include "directory/Backend.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace arbrix {

struct LdifRecord {
    enum class Kind { Add, Modify, Delete };
    Kind kind = Kind::Add;
    int line = 0; // of the "dn:" line
    QString dn;
    QList<LdapAttribute> attributes;   // Add
    QList<Modification> modifications; // Modify
    bool readOnly = false;             // a "# arbrix: read-only" comment in the record
};

// Parses LDIF text. Raises LdifError naming the line of the first fault.
QList<LdifRecord> ParseLdif(const QByteArray& text, const QString& source);

} // namespace arbrix

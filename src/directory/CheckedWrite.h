#pragma once

// A change sent to the directory and, when its answer was lost, the object read back: a server
// that went silent or away, or a request abandoned on Stop, may have been carried out all the
// same, and only the directory can say whether it was.

#include "directory/Backend.h"

namespace arbrix {

struct Write {
    enum class Kind { Add, Modify, Remove, Rename };
    Kind kind;
    QString dn;
    QList<LdapAttribute> attributes;   // Add
    QList<Modification> modifications; // Modify
    QString newRdn;                    // Rename
    QString newSuperior;               // Rename; empty keeps the container
};

enum class Held { Yes, No, Unknown };

// Whether the directory holds the change now; Unknown when the object cannot be read.
Held readBack(Backend& backend, const Write& write);

// Whether a failed write may all the same have been carried out.
bool answerLost(int ldapCode);

// Sends the change. When its answer was lost, reads the object back: returns as on success when
// the directory holds the change, raises LdapCode::ChangeNotMade when it does not, and the first
// error when it cannot tell.
void writeChecked(Backend& backend, const Write& write);

} // namespace arbrix

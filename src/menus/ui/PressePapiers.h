#pragma once

// What the copy commands put on the clipboard.

#include <QString>

namespace arbrix {

// A node's label without its member count.
void CopieNom(const QString& texte);
// The text as it is: an account name, a DN.
void CopieTexte(const QString& texte);

} // namespace arbrix

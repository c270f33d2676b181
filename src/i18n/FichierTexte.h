#pragma once

#include <QString>

namespace arbrix {

// The whole text of a file: UTF-8 (a leading byte-order mark dropped), or Windows-1252 when the
// bytes are not valid UTF-8, as files written on Windows are. A missing file gives an empty text.
QString LitFichierTexte(const QString& chemin);

} // namespace arbrix

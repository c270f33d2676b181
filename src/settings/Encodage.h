#pragma once

#include <QByteArray>
#include <QString>

namespace arbrix {

// Text of a settings or language file: UTF-8 (a leading byte-order mark dropped), or
// Windows-1252 when the bytes are not valid UTF-8.
QString DecodeTexteFichier(const QByteArray& octets);

QString DecodeWindows1252(const QByteArray& octets);

} // namespace arbrix

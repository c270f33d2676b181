#include "settings/Encodage.h"

#include <QStringDecoder>

namespace arbrix {

namespace {

// Code points of bytes 0x80..0x9F; the five bytes Windows-1252 leaves undefined map to the
// control characters of the same value, as Windows itself does.
constexpr char16_t PlageWindows1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString DecodeWindows1252(const QByteArray& octets) {
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* sortie = texte.data();
    for (const char c : octets) {
        const auto octet = static_cast<unsigned char>(c);
        *sortie++ = (octet >= 0x80 && octet <= 0x9F) ? QChar(PlageWindows1252[octet - 0x80]) : QChar(octet);
    }
    return texte;
}

QString DecodeTexteFichier(const QByteArray& octets) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texte = utf8.decode(octets);
    if (utf8.hasError())
        return DecodeWindows1252(octets);
    // The decoder skips one byte order mark; an editor may have put more.
    qsizetype marques = 0;
    while (marques < texte.size() && texte.at(marques) == QChar(0xFEFF))
        ++marques;
    texte.remove(0, marques);
    return texte;
}

} // namespace arbrix

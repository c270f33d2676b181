#pragma once

// The "\XX" hexadecimal pairs that DNs and search filters share for bytes written as escapes.

#include <QChar>

#include <optional>

namespace arbrix {

// The value of a hexadecimal digit, either case; -1 for any other character.
inline int HexDigitValue(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The byte two hexadecimal digits write; nullopt when either is not one.
inline std::optional<char> HexPairByte(QChar high, QChar low) {
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0 || l < 0)
        return std::nullopt;
    return char(h * 16 + l);
}

} // namespace arbrix

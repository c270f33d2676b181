#pragma once

// What every fuzz target shares: the input as text or as parts, and a check that stops the run
// with a readable report when a property does not hold (libFuzzer then keeps the input).

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace arbrix::fuzz {

inline QByteArray Octets(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QString Texte(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input cut at NUL bytes: several independent strings from one input.
inline QList<QByteArray> Parties(const uint8_t* data, size_t size) {
    return Octets(data, size).split('\0');
}

[[noreturn]] inline void Echec(const char* propriete, const QString& detail) {
    std::fprintf(stderr, "property failed: %s\n  %s\n", propriete, qPrintable(detail));
    std::abort();
}

} // namespace arbrix::fuzz

#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::arbrix::fuzz::Echec(#condition, (detail));                                                     \
    } while (false)

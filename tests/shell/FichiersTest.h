#pragma once

// Files written and read back by the tests, byte for byte, in their temporary folders.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace arbrix::test {

// Creates the folder as needed; false when the file cannot be written.
inline bool EcritFichier(const QString& chemin, const QByteArray& octets) {
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(octets) == octets.size();
}

// Empty when the file cannot be read.
inline QByteArray LitFichier(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline QString LitTexte(const QString& chemin) {
    return QString::fromUtf8(LitFichier(chemin));
}

} // namespace arbrix::test

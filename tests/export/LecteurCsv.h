#pragma once

// What Python's csv module reads of an export, so that a test checks the CSV against a reader the
// program does not share. Strict: a badly quoted field fails rather than being guessed at.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

namespace arbrix::test {

inline QList<QStringList> LitCsv(const QString& texte) {
    static const char* const lecteur = R"(
import csv, io, json, sys
octets = sys.stdin.buffer.read()
assert not octets.startswith(b'\xef\xbb\xbf'), 'byte order mark'
lignes = csv.reader(io.StringIO(octets.decode('utf-8'), newline=''), strict=True)
json.dump(list(lignes), sys.stdout)
)";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(lecteur)});
    python.write(texte.toUtf8());
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();
    QList<QStringList> lignes;
    for (const QJsonValue& ligne : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        lignes << ligne.toVariant().toStringList();
    return lignes;
}

} // namespace arbrix::test

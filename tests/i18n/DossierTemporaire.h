#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A scratch folder for language files written by a test.
class DossierTemporaire {
public:
    QString Chemin() const { return dossier.path() + u'/'; }

    // Writes the bytes as they are (encoding and line breaks are the test's choice).
    QString Ecrit(const QString& nom, const QByteArray& octets) const {
        const QString chemin = Chemin() + nom;
        QFile fichier(chemin);
        if (fichier.open(QIODevice::WriteOnly))
            fichier.write(octets);
        return chemin;
    }

private:
    QTemporaryDir dossier;
};

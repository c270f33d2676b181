#pragma once

#include "shell/FichiersTest.h"

// A scratch folder for language files written by a test.
class DossierTemporaire {
public:
    QString Chemin() const { return dossier.path() + u'/'; }

    // Writes the bytes as they are (encoding and line breaks are the test's choice).
    QString Ecrit(const QString& nom, const QByteArray& octets) const {
        arbrix::test::EcritFichier(Chemin() + nom, octets);
        return Chemin() + nom;
    }

private:
    QTemporaryDir dossier;
};

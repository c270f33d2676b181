#pragma once

// The settings of one run of the command-line program: the user's file (or the one named by
// --settings) with the --set values on top. The file itself is never written: the values are
// applied to a private copy that lives as long as this object.

#include "cli/ArgumentsCli.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace arbrix {

// True for a key of section "Config" (compared without regard to case), memorised entries and
// export options included.
bool EstCleConfig(const QString& cle);

class ReglagesCli {
public:
    // source: the settings file to read; it may be missing (the defaults apply then).
    ReglagesCli(const QString& source, const QList<ReglageCli>& reglages);

    // The copy to read the settings from; empty when no copy could be made.
    QString Fichier() const { return m_fichier; }
    // The first refused --set or failure, as an argument error; nullopt when all is well.
    const std::optional<ErreurArgumentsCli>& Erreur() const { return m_erreur; }

private:
    QTemporaryDir m_dossier;
    QString m_fichier;
    std::optional<ErreurArgumentsCli> m_erreur;
};

// The settings file to read: the one given by --settings, else the user's file found as the
// desktop program finds it (an older file beside an installed program is read in place, since
// moving it would be a write).
QString FichierReglagesParDefaut();

} // namespace arbrix

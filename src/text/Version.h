#pragma once

#include <QString>

namespace arbrix {

// The product name: names the settings file and folder and prefixes the window caption.
QString NomApplication();

// "v" + major + "." + minor (+ "." + revision when the revision is at least 1); revision 9999
// marks a beta build, whose text is fixed.
QString TexteVersion();
QString TexteVersion(int majeure, int mineure, int revision);

// NomApplication() + " " + TexteVersion().
QString TitreApplication();

// True when the version text announces a beta build.
bool EstVersionBeta(const QString& texteVersion);

} // namespace arbrix

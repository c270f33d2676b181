#pragma once

// The platform facts the program needs: folders, files, the user's language, starting programs.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace arbrix {

inline constexpr int CsidlDonneesApplication = 26; // per-user configuration folder
inline constexpr int CsidlProgrammes = 38;         // installation prefix

// 26: $XDG_CONFIG_HOME (absolute paths only), else ~/.config. 38: the installation prefix the
// program was built for. Anything else: an empty text. Without a trailing "/".
QString DossierSpecial(int csidl);

// The system prefixes under which the program counts as installed: /usr, /usr/local, /opt and
// the installation prefix.
QStringList PrefixesSysteme();

// File attribute bits.
inline constexpr int AttributLectureSeule = 1;
inline constexpr int AttributCache = 2;
inline constexpr int AttributSysteme = 4;
inline constexpr int AttributDossier = 16;
inline constexpr int AttributArchive = 32;

// True when the path exists and has every given attribute. Without AttributDossier a folder gives
// false; with it only a folder gives true. Hidden: the name starts with "."; read-only: the user
// may not write it; archive: a regular file; system: never.
bool FichierExiste(const QString& chemin, int attributs = 0);

// Starts the program as a separate process; any failure is ignored.
void LanceCommande(const QString& programme, const QStringList& arguments = {});

// This process's environment less the directory password that may have been given through it:
// what every program started from here gets, so that the password reaches no other program.
QProcessEnvironment EnvironnementEnfant();

// The primary language number (Windows numbering: French 12, English 9, German 7, ...) of the
// user's locale: the first set of LC_ALL, LC_MESSAGES and LANG. "C" and "POSIX" (also when none is
// set) are English; a language without a number gives 0.
int CodeLangueSysteme();
// The number of one locale name ("fr_CA.UTF-8", "de", "pt_BR@x").
int CodeLangueDeLocale(const QString& locale);
// Back from a number to a language code ("fr" for 12), the first in alphabetical order where
// several share the number; empty for a number of no language.
QString CodeIsoDeLangue(int numero);

// Folder of the running executable, without a trailing "/", and its full path.
QString DossierProgramme();
QString CheminProgramme();

} // namespace arbrix

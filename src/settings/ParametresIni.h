#pragma once

// The settings file as a whole: where it lives, reading every setting of section "Config" at
// start-up, writing them back at exit according to what changed during the run.

#include "settings/Ini.h"
#include "settings/Parametres.h"

#include <QString>
#include <QStringList>

namespace arbrix {

struct EmplacementParametres {
    QString DossierParametres; // ends with "/"
    QString CheminIni;
    // Installed under a system prefix: the settings live in the user's configuration folder.
    bool Installe = false;
    QString DossierEditeur; // the maker's folder above DossierParamètres (installed only)
    // A settings file of an older version beside an installed program, to move into
    // DossierParamètres at start-up; empty when there is none.
    QString AncienFichier;
};

// Installed (the program folder lies under one of the prefixes): <config>/Velmora/Arbrix/Arbrix.ini;
// else the file beside the program.
EmplacementParametres CalculeEmplacementParametres(const QString& dossierProgramme,
                                                   const QString& dossierConfiguration,
                                                   const QStringList& prefixesSysteme);
// The same from the running program and the platform folders.
EmplacementParametres CalculeEmplacementParametres();

// For an installed program: creates the maker's folder and the settings folder when missing and
// moves the older file into place. A failed copy raises ErreurExécution; a failed removal of the
// old file is ignored.
void PrepareDossierParametres(const EmplacementParametres& emplacement);

// Every setting of the file, with the defaults for missing keys; the password is unscrambled, or
// when the file holds none, read from the installed keyring (Trousseau.h).
// A number too large for its setting raises ErreurExécution.
Parametres LitParametres(const QString& cheminIni);

// What changed during the run, deciding which keys are written at exit.
struct DrapeauxSortie {
    bool ConfigurationModifiee = false;   // the configuration dialog was accepted
    bool OptionsFenetreModifiees = false; // a window-option menu item was used
};

// The exit's changes to the settings file, in order: the configuration keys (when accepted), the
// four window options (when used), the position (when remembered), the state and size (when
// remembered), then the group-creation defaults and the memorised-entry count. The password goes
// to the keyring when one answers (a scrambled one of an earlier run moves there at the first
// exit), else into the file, which is then made readable by its owner only.
void EcritParametresSortie(LotIni& lot, const Parametres& parametres, const DrapeauxSortie& drapeaux);
// Writes the changes in one replacement of the file (a failure leaves it as it was), and restricts
// it to its owner when it holds a password.
EcritureIni EnregistreParametres(LotIni& lot);
// The exit's changes alone, in one replacement of the file.
EcritureIni EcritParametresSortie(const QString& cheminIni, const Parametres& parametres,
                                  const DrapeauxSortie& drapeaux);

// Restricts the file to its owner when it holds a password.
void ProtegeFichierParametres(const QString& cheminIni);

// Reversible scrambling of the directory password: two upper-case hexadecimal digits per byte of
// the UTF-8 text. A text that is not such a scramble unscrambles to an empty password.
QString ChiffreMotDePasse(const QString& motDePasse);
QString DechiffreMotDePasse(const QString& texte);

} // namespace arbrix

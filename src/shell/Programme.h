#pragma once

// The program-wide state set up at start-up and written back at exit.

#include "settings/Parametres.h"
#include "settings/ParametresIni.h"

#include <QString>

namespace arbrix {

struct EtatProgramme {
    EmplacementParametres Emplacement; // DossierParamètres and CheminIni
    Parametres Config;                 // section "Config", in memory
    QString FichierLangue;             // empty with the built-in French texts
    QString CheminOutilCompte;         // empty when the account tool is not installed

    bool ConfigurationModifiee = false;   // the configuration dialog was accepted
    bool OptionsFenetreModifiees = false; // a window-option menu item was used
    bool RedemarrageDemande = false;      // start again after exit

    const QString& CheminIni() const { return Emplacement.CheminIni; }
    const QString& DossierParametres() const { return Emplacement.DossierParametres; }
};

// The one state of the running program.
EtatProgramme& Programme();

} // namespace arbrix

#pragma once

// The program-wide state set up at start-up and written back at exit.

#include "settings/Parametres.h"
#include "settings/ParametresIni.h"

#include <QString>

namespace arbrix {

struct ÉtatProgramme {
    EmplacementParamètres Emplacement; // DossierParamètres and CheminIni
    Paramètres Config;                 // section "Config", in memory
    QString FichierLangue;             // empty with the built-in French texts
    QString CheminOutilCompte;         // empty when the account tool is not installed

    bool ConfigurationModifiée = false;   // the configuration dialog was accepted
    bool OptionsFenêtreModifiées = false; // a window-option menu item was used
    bool RedémarrageDemandé = false;      // start again after exit

    const QString& CheminIni() const { return Emplacement.CheminIni; }
    const QString& DossierParamètres() const { return Emplacement.DossierParamètres; }
};

// The one state of the running program.
ÉtatProgramme& Programme();

} // namespace arbrix

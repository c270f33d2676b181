#pragma once

// The program-wide settings of section "Config", in memory, with their defaults. Field names are
// the keys of the settings file. Reading and writing: settings/ParametresIni.h.

#include <QString>
#include <QtGlobal>

namespace arbrix {

struct Paramètres {
    // Language name (a *.lng file name without extension, or "Français"); empty: choose at start.
    QString Langue;

    // Window options and placement (twips).
    bool FenêtreMémoriserTaille = false;
    bool FenêtreMémoriserPosition = false;
    bool MinimiserSystray = false;
    bool ToujoursAuDessus = false;
    qint16 FenêtreEtat = 0;
    qint32 FenêtreHauteur = 5000;
    qint32 FenêtreLargeur = 5000;
    qint32 FenêtreGauche = 1000;
    qint32 FenêtreHaut = 1000;

    // Analysis and display.
    bool AnalyseAutreTypeSiAucuneReponse = true;
    qint16 AnalyseParDéfaut = 1;
    bool ContrôlerVerrouilléExpiré = false;
    bool DéplierGroupesContenantComptesDésactivésVerrouillésExpirés = false;
    bool DéplierGroupesContenantGroupesRécursifs = true;
    bool DéplierGroupesEtOU = false;
    bool ReprésenterGroupesRacineOU = false;
    bool AfficherNombreMembres = true;

    // Directory access.
    qint16 AccèsAD = 0;
    QString AccèsADServeur; // URI list or .ldif path; empty: discovery
    QString AccèsADDomaine;
    QString AccèsADLogin;
    QString AccèsADPassword; // in clear in memory, scrambled in the file

    // Group creation and memorised entries.
    qint16 TypeGroupe = 0;
    qint16 EtendueGroupe = 1;
    qint16 NbElémentsMémorisésMax = 20;

    friend bool operator==(const Paramètres&, const Paramètres&) = default;
};

} // namespace arbrix

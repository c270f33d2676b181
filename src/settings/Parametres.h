#pragma once

// The program-wide settings of section "Config", in memory, with their defaults. Field names are
// the keys of the settings file. Reading and writing: settings/ParametresIni.h.

#include <QString>
#include <QtGlobal>

namespace arbrix {

struct Parametres {
    // Language name (a *.lng file name without extension, or "Français"); empty: choose at start.
    QString Langue;

    // Window options and placement (twips).
    bool FenetreMemoriserTaille = false;
    bool FenetreMemoriserPosition = false;
    bool MinimiserSystray = false;
    bool ToujoursAuDessus = false;
    qint16 FenetreEtat = 0;
    qint32 FenetreHauteur = 5000;
    qint32 FenetreLargeur = 5000;
    qint32 FenetreGauche = 1000;
    qint32 FenetreHaut = 1000;

    // Analysis and display.
    bool AnalyseAutreTypeSiAucuneReponse = true;
    qint16 AnalyseParDefaut = 1;
    bool ControlerVerrouilleExpire = true; // read from the account rows: costs no request
    bool DeplierGroupesContenantComptesDesactivesVerrouillesExpires = false;
    bool DeplierGroupesContenantGroupesRecursifs = true;
    bool DeplierGroupesEtOU = false;
    bool RepresenterGroupesRacineOU = false;
    bool AfficherNombreMembres = true;
    // Contacts, foreign security principals and other members that are no accounts, in groups.
    bool AfficherAutresMembres = true;
    // Searches sent to the directory before the first answer is read (1 to 64).
    qint16 RequetesSimultanees = 16;
    // Seconds a directory server may stay silent (2 to 600): a bind or a read answers within it,
    // a search is given up when nothing has arrived for that long.
    qint16 DelaiAnnuaire = 15;

    // Directory access.
    qint16 AccesAD = 0;
    QString AccesADServeur; // URI list or .ldif path; empty: discovery
    QString AccesADDomaine;
    QString AccesADLogin;
    QString AccesADPassword; // in clear in memory; in the keyring, else scrambled in the file
    // A simple bind in clear text to a server that offers no TLS: for a laboratory only.
    bool AccesADSansTLS = false;

    // Group creation and memorised entries.
    qint16 TypeGroupe = 0;
    qint16 EtendueGroupe = 1;
    qint16 NbElementsMemorisesMax = 20;

    // Messages to members: the mail command with its fixed arguments (empty: "sendmail -i"),
    // and the From address (empty: the mail system chooses).
    QString MessagerieCommande;
    QString MessagerieExpediteur;

    friend bool operator==(const Parametres&, const Parametres&) = default;
};

} // namespace arbrix

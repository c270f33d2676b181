#pragma once

// The start-up of both programs, in order: settings location, language (first-run choice) and
// catalogue, settings folder and migration, every setting, memorised entries, account tool,
// window shown, directory session, then the command line's first analysis. The windows and the
// command-line program supply the steps that are theirs; any error stops the start-up with the
// initialisation message.

#include "shell/Programme.h"
#include "tree/LigneCommande.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace arbrix {

class Interaction;

// The program's own steps; an empty one is skipped.
struct EtapesDemarrage {
    // The program's language is chosen (its file, empty for French): the toolkit's own texts
    // follow before any question is asked.
    std::function<void(const QString& fichierLangue)> langueChoisie;
    // Window placement, check marks and always-on-top from the settings just read.
    std::function<void(const EtatProgramme&)> appliqueParametres;
    // Fills the search box with the memorised entries of the settings file.
    std::function<void(const QString& cheminIni)> chargeMemos;
    // Shows the main window (the directory session opens with the window visible).
    std::function<void()> afficheFenetre;
    // Opens the directory session and resolves the root; false ends the program (the session
    // has told the user why).
    std::function<bool()> ouvreSession;
    // Runs the first analysis in the default mode from what the command line names: its DN, or
    // its text searched as a name of its kind.
    std::function<void(qint16 mode, const PointDeDepart& depart)> lanceAnalyse;
};

// Where the start-up looks; by default the running program's folders and the user's locale.
struct EnvironnementDemarrage {
    QString dossierProgramme;
    QString dossierConfiguration; // the user's configuration folder
    QStringList prefixesSysteme;
    QString dossierLangues;
    int codeLangue = 0;

    static EnvironnementDemarrage DuSysteme();
};

// Runs the start-up on the program's arguments (program name excluded). Returns false when the
// program must end: an error (reported with "MSG_ERREUR_INITIALISATION") or a failed session.
bool Demarre(const QStringList& arguments, Interaction& interaction, const EtapesDemarrage& etapes,
             const EnvironnementDemarrage& environnement = EnvironnementDemarrage::DuSysteme(),
             EtatProgramme& etat = Programme());

// The filled "MSG_ERREUR_INITIALISATION" text.
QString MessageErreurInitialisation(qint32 numero, const QString& texte);

} // namespace arbrix

#pragma once

// The main window: it assembles the search area, the tree with its controller, the description
// labels, the status bar and the tray icon, runs the analysis they ask for, holds the menu bar,
// and answers what the analysis and the operations ask of the user.

#include "shell/Programme.h"
#include "shell/ui/ControleurArbre.h"
#include "shell/ui/ZoneRecherche.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"
#include "tree/ui/PointeurAttente.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace arbrix {

class BarreEtatFenetre;
class IconeSystray;
class OperationsGroupes;
class SessionAD;
class ZoneDescription;
class frmTraitementEnCours;

class frmPrincipal : public QMainWindow, public Interaction {
    Q_OBJECT
public:
    // The window shows and changes the program-wide state (settings, flags, paths).
    explicit frmPrincipal(EtatProgramme& etat = Programme(), QWidget* parent = nullptr);
    ~frmPrincipal() override;

    // --- Start-up and shutdown, in the order the start-up runs them
    // Translates the captions and lays out the search area so that they fit.
    void TraduitEtDispose();
    // Check marks, placement and size from the settings; always-on-top.
    void AppliqueOptionsFenetre();
    // Fills the search box from the memorised entries of the settings file.
    void ChargeMemos();
    // Opens the session on the configured directory; on failure explains why, offers the
    // configuration and returns false.
    bool OuvreSession();
    // The directory session is open: the analysis can run. The caption gets the user's name.
    void DefinitSession(std::shared_ptr<SessionAD> session);
    // The last start-up step: the completion list's line height, the focus in the search box.
    void FinDemarrage();
    // Writes the settings and memorised entries as the closing requires; restarts when asked.
    void EnregistreALaFermeture();

    // --- The parts and the state shared with the operations and tests
    Arbre& arbre() { return m_arbre; }
    Analyse* analyse() const { return m_analyse.get(); }
    SessionAD* session() const { return m_session.get(); }
    ZoneRecherche& zoneRecherche() { return *m_zone; }
    ControleurArbre& controleurArbre() { return *m_controleur; }
    PointeurAttente& pointeur() { return m_pointeur; }
    Memos& memos() { return m_zone->memos(); }
    EtatProgramme& etat() { return m_etat; }
    const Parametres& parametres() const { return m_etat.Config; }
    bool IconeSystrayAffichee() const;
    bool AnalyseEnCours() const { return m_analyseEnCours; }
    // True once the window has accepted to close (its settings are written then).
    bool EstFermee() const { return m_fermee; }
    // The progress window is on screen (it is hidden with the main window in the tray).
    bool FenetreTraitementVisible() const;

    // --- Handlers (public so that the start-up, dialogs and tests can run them)
    // Builds the tree of the O.U. or group dn.
    void LanceAnalyse(qint16 mode, const QString& dn);
    // Looks the search box's text up as a name of its kind (or a DN) and builds the tree.
    void AnalyseRecherche(qint16 mode);
    // The same tree read again from the directory, its open branches and selection kept.
    void Actualise();
    // The export dialog for the node's branch; the focus comes back to the tree.
    void Exporte(Noeud* noeud);
    void mnuOptionsConfiguration_Click();
    void mnuSystrayRestaurer_Click();
    void AfficheIconeSystray();
    void RetireIconeSystray();

    // --- Interaction
    ReponseMessage Message(const QString& texte, IconeMessage icone,
                           BoutonsMessage boutons = BoutonsMessage::Ok,
                           ReponseMessage defaut = ReponseMessage::Ok, const QString& titre = {}) override;
    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override;
    std::optional<ChoixCreationGroupe> DemandeCreationGroupe(int type, int etendue,
                                                             const ControleNomGroupe& controle) override;
    void AfficheTraitementEnCours() override;
    void MasqueTraitementEnCours() override;
    void ChangeTraitementEnCours(const QString& texte) override;
    void TraiteEvenements() override;

signals:
    // The window has accepted to close: the program ends.
    void Fermee();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void creeMenus();
    void relieMenus();
    void relieParties();
    void disposeZones();
    void appliquePremierPlan();
    bool echecSession(const QString& message);
    // Runs a build with the pointer waiting and the tree locked, then shows what it asks: the
    // root in the search box, the name memorised, the root described.
    void construitArbre(const std::function<ResultatAnalyse()>& construction);
    // The progress text as last asked, shown at the next turn of the event loop.
    void afficheTexteTraitement();
    // The view follows the tree again, showing it whole (after a build).
    void rattacheVue();
    void basculeOption(QAction* action);

    void mnuEdition_Ouverture();
    void mnuEditionRechercher_Click();
    void mnuEditionExporter_Click();
    void rechercheDansArbre(int direction);

    // Core state
    EtatProgramme& m_etat;
    Arbre m_arbre;
    std::shared_ptr<SessionAD> m_session;
    std::unique_ptr<Analyse> m_analyse;
    std::unique_ptr<OperationsGroupes> m_operations;
    PointeurAttente m_pointeur;
    bool m_enregistre = false;
    bool m_betaAnnoncee = false;
    bool m_analyseEnCours = false;
    bool m_fermee = false;
    bool m_fermetureDemandee = false;
    int m_largeurFenetre = 0; // pixels, last normal-state size
    int m_hauteurFenetre = 0;

    // Turns of the event loop during a build, in milliseconds apart at least.
    static constexpr qint64 IntervalleTours = 50;
    QElapsedTimer m_dernierTour;
    QString m_texteTraitement;
    QPointer<frmTraitementEnCours> m_traitement;

    // Parts
    ZoneRecherche* m_zone = nullptr;
    ZoneDescription* m_description = nullptr;
    ControleurArbre* m_controleur = nullptr;
    BarreEtatFenetre* m_barreEtat = nullptr;
    IconeSystray* m_systray = nullptr;

    QMenu* m_mnuFichier = nullptr;
    QMenu* m_mnuEdition = nullptr;
    QMenu* m_mnuOptions = nullptr;
    QMenu* m_mnuAide = nullptr;
    QAction* mnuFichierQuitter = nullptr;
    QAction* mnuEditionRechercher = nullptr;
    QAction* mnuEditionRechercherSuivant = nullptr;
    QAction* mnuEditionRechercherPrecedent = nullptr;
    QAction* mnuEditionExporter = nullptr;
    QAction* mnuEditionActualiser = nullptr;
    QAction* mnuEditionCopierNomCompte = nullptr;
    QAction* mnuEditionCopierNom = nullptr;
    QAction* mnuOptionsMemoriserPosition = nullptr;
    QAction* mnuOptionsMemoriserTaille = nullptr;
    QAction* mnuOptionsMinimiserSystray = nullptr;
    QAction* mnuOptionsToujoursAuDessus = nullptr;
    QAction* mnuOptionsConfiguration = nullptr;
    QAction* mnuAideLegende = nullptr;
    QAction* mnuAideAPropos = nullptr;
};

} // namespace arbrix

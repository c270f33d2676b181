#pragma once

// The main window: the search area, the tree, the description and managed-by labels, the menus
// and the tray icon. It shows the core's state and forwards events to the core; it implements
// the user interaction that the analysis and the operations need.

#include "search/Memos.h"
#include "shell/Programme.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QMouseEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSystemTrayIcon;
class QTimer;
class QTreeView;

namespace arbrix {

class BoiteRecherche;
class OperationsGroupes;
class ModeleArbre;
class SessionAD;
class frmTraitementEnCours;

// What a drag from a window's tree carries so that only that window takes the drop.
QByteArray IdentiteFenetre(const QWidget* fenetre);

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
    // The directory session is open: the analysis can run. The caption gets the user's name.
    void DefinitSession(std::shared_ptr<SessionAD> session);
    // The last start-up step: the completion list's line height, the focus in the search box.
    void FinDemarrage();
    // Writes the settings and memorised entries as the closing requires; restarts when asked.
    void EnregistreALaFermeture();

    // --- State shared with the operations and tests
    Arbre& arbre() { return m_arbre; }
    Analyse* analyse() const { return m_analyse.get(); }
    SessionAD* session() const { return m_session.get(); }
    Memos& memos() { return m_memos; }
    EtatProgramme& etat() { return m_etat; }
    const Parametres& parametres() const { return m_etat.Config; }
    bool IconeSystrayAffichee() const { return m_iconeSystrayAffichee; }
    bool GlisserEnCours() const { return m_glisserEnCours; }
    bool AnalyseEnCours() const { return m_analyseEnCours; }
    // True once the window has accepted to close (its settings are written then).
    bool EstFermee() const { return m_fermee; }

    // --- Handlers (public so that menus, operations and tests can run them)
    // Builds the tree of the O.U. or group dn.
    void LanceAnalyse(qint16 mode, const QString& dn);
    // Looks the search box's text up as a name of its kind (or a DN) and builds the tree.
    void AnalyseRecherche(qint16 mode);
    void btnChercher_Click();
    void btnChercherPlus_MouseDown();
    void tvwGroupes_NodeClick(Noeud* noeud, bool boutonDroit = false);
    // At the mouse pointer unless a position (global) is given.
    void AfficheMenuNoeud(Noeud* noeud, std::optional<QPoint> position = std::nullopt);
    void AfficheMenuGerePar();
    void ExecuteCommandeNoeud(Noeud* noeud, int identifiant);
    void ExecuteCommandeGerePar(int identifiant);
    void OuvreAPartirDuNoeud(bool nouvelleInstance);
    void OuvreOUParente(bool nouvelleInstance);
    void LanceOutilCompte(const QString& argument);
    void CopieNom(const QString& texte);
    void CopieTexte(const QString& texte);
    // Records a name analysed from the search box among the memorised entries.
    void MemoriseRecherche(const QString& nom, int type);
    void DisposeZoneDescription();
    void AfficheDescription(const QString& description, const QString& gestionnaire);
    void mnuEdition_Ouverture();
    void mnuEditionRechercher_Click();
    void mnuEditionRechercherSuivant_Click();
    void mnuEditionRechercherPrecedent_Click();
    void mnuEditionExporter_Click();
    // Ctrl+C: the selected node's label without its count; Ctrl+Shift+C: its name alone.
    void CopieSelection(bool nomSeul);
    // The directory, the identity, the mode and the node count, as they are now.
    void MetAJourBarreEtat();
    void mnuAideLegende_Click();
    // The export dialog for the node's branch; the focus comes back to the tree.
    void Exporte(Noeud* noeud);
    void mnuOptionsConfiguration_Click();
    void mnuSystrayRestaurer_Click();
    void AfficheIconeSystray();
    void RetireIconeSystray();
    void ReconstruitListeRecherche();
    void RechercheDansArbre(Noeud* depart, int direction);
    // Opens the session on the configured directory; on failure explains why, offers the
    // configuration and returns false.
    bool OuvreSession();

    // The search box text and the O.U. (0) / group (1) choice.
    QString TexteRecherche() const;
    void ChangeTexteRecherche(const QString& texte);
    int TypeRecherche() const;
    void ChangeTypeRecherche(int type);
    // Hourglass (true) or normal (false) mouse pointer; false ends every wait begun.
    void Sablier(bool attente);
    // The progress window is on screen (it is hidden with the main window in the tray).
    bool FenetreTraitementVisible() const;

    // --- Interaction
    ReponseMessage Message(const QString& texte, IconeMessage icone,
                           BoutonsMessage boutons = BoutonsMessage::Ok,
                           ReponseMessage defaut = ReponseMessage::Ok, const QString& titre = {}) override;
    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override;
    std::optional<ChoixCreationGroupe> DemandeCreationGroupe(int type, int etendue) override;
    void AfficheTraitementEnCours() override;
    void MasqueTraitementEnCours() override;
    void ChangeTraitementEnCours(const QString& texte) override;
    void TraiteEvenements() override;

    // --- Group operations (context menu items and the rename in place)
    void ExecuteOperationGroupe(Noeud* noeud, int identifiant);
    void TermineRenommage(const QString& cle, const QString& texte);

signals:
    // The window has accepted to close: the program ends.
    void Fermee();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void creeControles();
    void creeMenus();
    void creeSystray();
    void creeBarreEtat();
    void relieSignaux();
    void relieSignauxRecherche();
    void relieSignauxArbre();
    void nommeControlesSansTitre();
    void disposeZoneRecherche();
    void Form_Resize();
    void appliquePremierPlan();
    bool echecSession(const QString& message);
    // Runs a build with the pointer waiting and the tree locked, then shows what it asks: the
    // root in the search box, the name memorised, the root described.
    void construitArbre(const std::function<ResultatAnalyse()>& construction);
    // The pointer normal while a modal box waits, then back to what it was.
    template <typename Boite> auto pointeurNormalPendant(Boite&& boite);
    // A directory operation with the pointer waiting.
    template <typename Etape> void enAttente(Etape&& etape) {
        Sablier(true);
        etape();
        Sablier(false);
    }
    void masqueCompletion();
    void effaceDescription();
    void cliqueNoeud(Noeud* noeud);
    // The progress text as last asked, shown at the next turn of the event loop.
    void afficheTexteTraitement();
    // The view follows the tree again, showing it whole (after a build).
    void rattacheVue();
    void basculeOption(QAction* action);

    // Search box
    bool cboRecherche_KeyDown(QKeyEvent* event);
    bool cboRecherche_KeyUp(QKeyEvent* event);
    void cboRecherche_Change();
    void cboRecherche_Click(int index);
    void cboRecherche_DropDown();
    void lstCompletion_Click();
    void lstCompletion_MouseMove(const QPoint& position);
    void supprimeMemoSelectionne();
    void placeCompletion();
    void afficheCandidats();
    void copieCandidatDansBoite();
    void selectionneOptType(int type);
    bool listeDeroulanteOuverte() const;

    // Tree
    void tvwGroupes_MouseDown(QMouseEvent* event);
    void tvwGroupes_MouseMove(QMouseEvent* event);
    void tvwGroupes_KeyUp(QKeyEvent* event);
    void tvwGroupes_DragOver(QDragMoveEvent* event);
    void tvwGroupes_DragDrop(QDropEvent* event);
    // The choice dialog of accounts or groups, then the add to the group node.
    void AjouteMembres(Noeud* noeud, bool groupes);
    // The dragged node and the group under the pointer, when a drop there would be taken: a
    // node of this window's tree, on a group other than itself.
    std::pair<Noeud*, Noeud*> depotPossible(const QDropEvent* event) const;
    void tmrExpand_Timer();
    void PrepareRenommage(Noeud* noeud);
    void commenceGlisser();
    Noeud* noeudSelectionne() const;

    // Core state
    EtatProgramme& m_etat;
    Arbre m_arbre;
    Memos m_memos;
    Completion m_completion;
    std::shared_ptr<SessionAD> m_session;
    std::unique_ptr<Analyse> m_analyse;
    std::unique_ptr<OperationsGroupes> m_operations;
    QString m_gestionnaire; // manager text of the selected node (fields separated by TAB)
    bool m_iconeSystrayAffichee = false;
    bool m_traitementSystray = false;
    bool m_selectionParProgramme = false;
    bool m_enregistre = false;
    bool m_betaAnnoncee = false;
    bool m_synchroVue = false;
    bool m_analyseEnCours = false;
    bool m_fermee = false;
    bool m_fermetureDemandee = false;
    int m_largeurFenetre = 0; // pixels, last normal-state size
    int m_hauteurFenetre = 0;
    int m_hauteurLigneCompletion = 16;
    int m_attentes = 0;

    // Turns of the event loop during a build, in milliseconds apart at least.
    static constexpr qint64 IntervalleTours = 50;
    QElapsedTimer m_dernierTour;
    QString m_texteTraitement;

    // Drag start
    Noeud* m_noeudGlisse = nullptr;
    Noeud* m_noeudSurvole = nullptr; // under the pointer during a drag
    bool m_glisserEnCours = false;
    qint64 m_instantAppui = 0;

    // Controls
    ModeleArbre* m_modele = nullptr;
    QLabel* lblChercher = nullptr;
    BoiteRecherche* cboRecherche = nullptr;
    QListWidget* lstCompletion = nullptr;
    QPushButton* btnChercher = nullptr;
    QPushButton* btnChercherPlus = nullptr;
    QGroupBox* fraType = nullptr;
    QRadioButton* optType[2] = {nullptr, nullptr};
    QTreeView* tvwGroupes = nullptr;
    QLabel* lblDescriptionLabel = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblGereParLabel = nullptr;
    QLabel* lblGerePar = nullptr;
    QLabel* lblBarreAnnuaire = nullptr;
    QLabel* lblBarreIdentite = nullptr;
    QLabel* lblBarreMode = nullptr;
    QLabel* lblBarreNoeuds = nullptr;
    QTimer* tmrBarreEtat = nullptr; // gathers the tree's changes into one update
    QTimer* tmrExpand = nullptr;
    QTimer* tmrRenommage = nullptr;
    QTimer* tmrDescription = nullptr;
    QString m_cleDecrite; // the node whose description and manager the labels show
    QPointer<frmTraitementEnCours> m_traitement;

    QMenu* m_mnuFichier = nullptr;
    QMenu* m_mnuEdition = nullptr;
    QMenu* m_mnuOptions = nullptr;
    QMenu* m_mnuAide = nullptr;
    QMenu* m_mnuSystray = nullptr;
    QAction* mnuFichierQuitter = nullptr;
    QAction* mnuEditionRechercher = nullptr;
    QAction* mnuEditionRechercherSuivant = nullptr;
    QAction* mnuEditionRechercherPrecedent = nullptr;
    QAction* mnuEditionExporter = nullptr;
    QAction* mnuEditionCopierNomCompte = nullptr;
    QAction* mnuEditionCopierNom = nullptr;
    QAction* mnuOptionsMemoriserPosition = nullptr;
    QAction* mnuOptionsMemoriserTaille = nullptr;
    QAction* mnuOptionsMinimiserSystray = nullptr;
    QAction* mnuOptionsToujoursAuDessus = nullptr;
    QAction* mnuOptionsConfiguration = nullptr;
    QAction* mnuAideLegende = nullptr;
    QAction* mnuAideAPropos = nullptr;
    QAction* mnuSystrayRestaurer = nullptr;
    QAction* mnuSystrayAnnuler = nullptr;
    QAction* mnuSystrayQuitter = nullptr;
    QSystemTrayIcon* m_systray = nullptr;
};

} // namespace arbrix

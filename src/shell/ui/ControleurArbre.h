#pragma once

// The tree of the main window: the view over the core's tree, its clicks, keys and context
// menus, the drag and drop of members, and the group commands run from it. Opening a branch
// elsewhere, exporting and listing memberships are the window's: it is asked for them.

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QMouseEvent;
class QTimer;
class QTreeView;
class QWidget;

namespace arbrix {

class Arbre;
class Interaction;
class ModeleArbre;
class Noeud;
class OperationsGroupes;
class PointeurAttente;
class SessionAD;
class ZoneDescription;
class clsPopupMenu;
struct EtatProgramme;

// What a drag from a window's tree carries so that only that window takes the drop.
QByteArray IdentiteFenetre(const QWidget* fenetre);

class ControleurArbre : public QObject {
    Q_OBJECT
public:
    struct Liens {
        QWidget* fenetre; // parent of the dialogs, owner of the drags
        Arbre& arbre;
        const EtatProgramme& etat;
        Interaction& interaction;
        PointeurAttente& pointeur;
        ZoneDescription& description;
        std::function<bool()> enConstruction; // a build runs
    };
    // The view goes on the window's central widget.
    ControleurArbre(QWidget* centre, const Liens& liens);

    // The directory is open: the descriptions can be read and the group commands run.
    void DefinitSession(SessionAD& session, OperationsGroupes& operations);

    QTreeView* vue() const { return tvwGroupes; }
    void NommeControlesSansTitre();
    bool GlisserEnCours() const { return m_glisserEnCours; }

    // The labels under the tree describe the node; a right click also opens its menu.
    void tvwGroupes_NodeClick(Noeud* noeud, bool boutonDroit = false);
    // At the mouse pointer unless a position (global) is given.
    void AfficheMenuNoeud(Noeud* noeud, std::optional<QPoint> position = std::nullopt);
    void ExecuteCommandeNoeud(Noeud* noeud, int identifiant);
    // Ctrl+C: the selected node's label without its count; Ctrl+Shift+C: its name alone.
    void CopieSelection(bool nomSeul);
    // The labels describe the selected node, whatever selected it; none selected, they are empty.
    void DecritSelection();
    // Delete: the selected member out of its group, or the selected group deleted.
    void SupprimeSelection();
    // Enter or a double click on an account: its properties. False for any other node.
    bool AfficheProprietes(const Noeud* noeud);

signals:
    // The tree of the O.U. (type 0) or group (1) dn, in place of this one.
    void ouvertureDemandee(int type, const QString& dn);
    void exportDemande(Noeud* noeud);
    void appartenancesDemandees(Noeud* noeud);

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void relieVue();
    bool vue_Evenement(QEvent* event);
    bool zoneVue_Evenement(QEvent* event);
    void tvwGroupes_MouseDown(QMouseEvent* event);
    void tvwGroupes_MouseMove(QMouseEvent* event);
    void tvwGroupes_KeyUp(QKeyEvent* event);
    void tvwGroupes_DragOver(QDragMoveEvent* event);
    void tvwGroupes_DragDrop(QDropEvent* event);
    struct Depot {
        Noeud* membre = nullptr; // the dragged node, when it is of this window's tree
        Noeud* sous = nullptr;   // the node under the pointer
        Noeud* cible = nullptr;  // sous, when it is a group other than the dragged node
    };
    Depot depotPossible(const QDropEvent* event) const;
    void commenceGlisser();
    void tmrExpand_Timer();
    Noeud* noeudSelectionne() const;
    std::optional<clsPopupMenu> menuDe(const Noeud* noeud) const;

    void ouvreAPartirDuNoeud(bool nouvelleInstance);
    void ouvreOUParente(bool nouvelleInstance);
    void lanceOutilCompte(const QString& argument);
    void executeOperationGroupe(Noeud* noeud, int identifiant);
    // The choice dialog of accounts or groups, then the add to the group node.
    void ajouteMembres(Noeud* noeud, bool groupes);
    // The label is edited as the name alone; Escape gives it back, Enter renames.
    void prepareRenommage(Noeud* noeud);
    void termineRenommage(const QString& cle, const QString& texte);

    Liens m_liens;
    Arbre& m_arbre;
    SessionAD* m_session = nullptr;
    OperationsGroupes* m_operations = nullptr;
    bool m_synchroVue = false;

    // Drag start
    Noeud* m_noeudGlisse = nullptr;
    Noeud* m_noeudSurvole = nullptr; // under the pointer during a drag
    bool m_glisserEnCours = false;
    bool m_apresGlisser = false; // a drag ended; the view has not seen the button go up
    qint64 m_instantAppui = 0;

    ModeleArbre* m_modele = nullptr;
    QTreeView* tvwGroupes = nullptr;
    QObject* m_zoneVue = nullptr; // the view's viewport, kept for the filter while the view dies
    QTimer* tmrExpand = nullptr;
    QTimer* tmrDescription = nullptr;
};

} // namespace arbrix

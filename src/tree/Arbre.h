#pragma once

// The tree of analysed O.U.s, groups and accounts: the one store every operation reads and
// changes, and that the main window shows through an item model adapter.
//
// Each node carries a Key (a backslash path unique in the tree, "\\Root\Child\jdupont"), a
// Text (the label), a Tag (type letter + distinguished name) and an Image key. Children of a
// node whose sorting is on are kept ordered by Text as a tree control sorts them: without
// regard to case, by the collation of the user's language.
//
// Node handles (Noeud*) stay valid while the node is in the tree; removing a node or clearing
// the tree destroys it and its subtree.

#include "tree/ListeEnfants.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>

#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace arbrix {

// Separates a name from its member count in labels, and an account label from its expiry note.
inline constexpr char16_t NBSP = u'\u00A0';

// "name NBSP (count)" when the count is shown, else the name alone.
QString FormateLibelle(const QString& nom, qint32 nombre, bool afficherNombreMembres);
// The text before the first NBSP; the whole label when there is none.
QString NomDuLibelle(const QString& libelle);
// The number between "(" after the first NBSP and the last character; its leading number when
// it is not numeric; 0 when there is no NBSP.
qint32 NombreDuLibelle(const QString& libelle);

// Same-named siblings (a group and a sub-O.U., two groups of different containers) cannot share
// a Key: the later one's Key part gets "NBSP (n)". That numbering is the tree's, not the
// directory's: what users copy or export is the name without it.
QString PartieCleNumerotee(const QString& nom, int numero);
// The Key with the numbering taken off each of its parts.
QString CleSansNumerotation(const QString& cle);
// The last part of a Key without its numbering: the object's name as the directory has it.
QString NomDeLaCle(const QString& cle);

// Raised by the tree when a node is added with a Key the tree already holds.
class ErreurCleDupliquee : public std::exception {
public:
    explicit ErreurCleDupliquee(QString cle);
    static constexpr qint32 Numero = 35602;
    qint32 number() const noexcept { return Numero; }
    QString text() const;
    const QString& cle() const noexcept { return m_cle; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    QString m_cle;
    std::string m_what;
};

class Arbre;

class Noeud {
public:
    Noeud(const Noeud&) = delete;
    Noeud& operator=(const Noeud&) = delete;
    ~Noeud();

    const QString& Key() const { return m_key; }
    const QString& Text() const { return m_text; }
    const QString& Tag() const { return m_tag; }
    const QString& Image() const { return m_image; }
    bool Expanded() const { return m_expanded; }

    // Type letter ("O", "G", "U", "C", "S", "?") and distinguished name, read from the Tag.
    QChar LettreType() const { return m_tag.isEmpty() ? QChar() : m_tag.front(); }
    QString DN() const { return m_tag.mid(1); }

    // nullptr for a top-level node.
    Noeud* Parent() const { return m_parent; }
    int ChildCount() const { return m_enfants.size(); }
    Noeud* Child(int row) const { return m_enfants.at(row); }
    Noeud* FirstChild() const { return m_enfants.first(); }
    Noeud* LastChild() const { return m_enfants.last(); }
    // Row among its siblings (top-level nodes: among the top-level nodes).
    int Row() const { return m_liste ? m_liste->rowOf(this) : -1; }
    Noeud* NextSibling() const;
    Noeud* PreviousSibling() const;
    int Depth() const;

    template <class F> void ForEachChild(F&& f) const { m_enfants.forEach(f); }

private:
    friend class Arbre;
    friend class ListeEnfants;
    Noeud() = default;

    QString m_key, m_text, m_tag, m_image;
    bool m_expanded = false;
    bool m_sorted = false;
    Noeud* m_parent = nullptr;
    const ListeEnfants* m_liste = nullptr; // the list holding this node
    ListeEnfants::Bloc* m_bloc = nullptr;  // kept by ListeEnfants
    std::optional<QCollatorSortKey> m_cleTri;
    ListeEnfants m_enfants;
};

class Arbre : public QObject {
    Q_OBJECT
public:
    explicit Arbre(QObject* parent = nullptr);
    ~Arbre() override;

    // Labels show member counts ("AfficherNombreMembres").
    bool afficherNombreMembres() const { return m_afficherNombreMembres; }
    void setAfficherNombreMembres(bool afficher) { m_afficherNombreMembres = afficher; }
    // The language whose collation orders sorted children; a C/POSIX locale orders as English.
    // Changing it re-sorts every sorted list (reset notification).
    void setLocale(const QLocale& locale);

    // --- Reading
    qsizetype Count() const { return m_index.size(); }
    bool isEmpty() const { return m_index.isEmpty(); }
    int TopLevelCount() const { return m_racines.size(); }
    Noeud* TopLevel(int row) const { return m_racines.at(row); }
    // The first top-level node (the analysed element), or nullptr.
    Noeud* Racine() const { return m_racines.first(); }
    // The node with that Key, or nullptr.
    Noeud* Node(const QString& cle) const { return m_index.value(cle, nullptr); }
    bool NoeudExiste(const QString& cle) const { return m_index.contains(cle); }
    Noeud* SelectedItem() const { return m_selection; }
    // Every node whose Tag is tag (the same O.U. or group may be shown at several places), in
    // pre-order; found through an index, not a walk.
    QList<Noeud*> Instances(const QString& tag) const;
    // Children of a node (nullptr: the top level), for adapters.
    int ChildCount(const Noeud* parent) const;
    Noeud* Child(const Noeud* parent, int row) const;

    // Next node in pre-order (display order with every node expanded), staying inside the
    // subtree of borne when one is given (borne itself is where the walk starts).
    Noeud* SuivantPrefixe(const Noeud* noeud, const Noeud* borne = nullptr) const;
    // Visits depuis and its subtree in pre-order (depuis nullptr: the whole tree). visite
    // returns false to stop the walk.
    template <class F> void ParcoursPrefixe(const Noeud* depuis, F&& visite) const;

    // --- Changing
    // Adds a node as the last child of parent (nullptr: a top-level node), or at its sorted
    // place when the parent sorts its children. Raises ErreurCléDupliquée.
    Noeud* Ajoute(Noeud* parent, const QString& cle, const QString& texte, const QString& tag = {},
                  const QString& image = {}, bool trierEnfants = false);
    // The Key a new child named nom gets under parent (nullptr: a top-level node): the path
    // rule, numbered "nom NBSP (2)", "(3)"... when a sibling already holds it, so that two objects
    // of one name (a group and a sub-O.U., groups of different containers) can be shown side by side.
    QString CleLibre(const Noeud* parent, const QString& nom) const;
    // Gives the node a new Key; its descendants' Keys follow (same tail after the new prefix).
    // Raises ErreurCléDupliquée when a node of the subtree would take a Key the tree holds.
    void ChangeCle(Noeud* noeud, const QString& cle);
    // Removes the node and its subtree; a removed selected node leaves no selection.
    void Supprime(Noeud* noeud);
    // Removes every node.
    void Vide();

    // A new Text moves the node to its sorted place among its siblings.
    void ChangeTexte(Noeud* noeud, const QString& texte);
    void ChangeTag(Noeud* noeud, const QString& tag);
    void ChangeImage(Noeud* noeud, const QString& image);
    // Turning sorting on orders the children already present.
    void ChangeTriEnfants(Noeud* noeud, bool trier);

    void Deplie(Noeud* noeud, bool deplie = true);
    // Expands every ancestor of the node so that it can be seen.
    void RendVisible(Noeud* noeud);
    void Selectionne(Noeud* noeud);
    void RendVisibleEtSelectionne(Noeud* noeud);

    // FormateLibelle with this tree's "AfficherNombreMembres".
    QString FormateLibelle(const QString& nom, qint32 nombre) const;
    // Adds delta to the count of the node's label and of each of its ancestors' labels.
    void AjusteNombreMembres(Noeud* noeud, qint32 delta);

    // For bulk builds: suspending and resuming each notify a reset; in between nothing is
    // notified and adapters must show no rows (notificationsSuspended() is true).
    void setNotificationsSuspended(bool suspendues);
    bool notificationsSuspended() const { return m_suspendues; }

signals:
    // parent nullptr: the top level. Rows are those before (about to) and after the change.
    void nodeAboutToBeInserted(arbrix::Noeud* parent, int row);
    void nodeInserted(arbrix::Noeud* parent, int row);
    void nodeAboutToBeRemoved(arbrix::Noeud* parent, int row);
    void nodeRemoved(arbrix::Noeud* parent, int row);
    // A node moving among its siblings after a Text change; to is its row after the move.
    void nodeAboutToBeMoved(arbrix::Noeud* parent, int from, int to);
    void nodeMoved(arbrix::Noeud* parent, int from, int to);
    // Text, Tag or Image changed.
    void nodeChanged(arbrix::Noeud* noeud);
    void aboutToBeReset();
    void reset();
    void expandedChanged(arbrix::Noeud* noeud, bool expanded);
    // The view should scroll the node into sight (its ancestors are already expanded).
    void ensureVisibleRequested(arbrix::Noeud* noeud);
    void selectionChanged(arbrix::Noeud* noeud);
    // Vide() ran, whether or not notifications are suspended: whatever described the old tree
    // is stale.
    void emptied();

private:
    ListeEnfants& enfantsDe(Noeud* parent) { return parent ? parent->m_enfants : m_racines; }
    const ListeEnfants& enfantsDe(const Noeud* parent) const {
        return parent ? parent->m_enfants : m_racines;
    }
    void calculeCleTri(Noeud* noeud) const;
    int placeTriee(const ListeEnfants& liste, const Noeud* noeud) const;
    void trieListe(ListeEnfants& liste);
    void oublieSousArbre(Noeud* noeud);
    void detruitListe(ListeEnfants& liste);
    bool notifie() const { return !m_suspendues; }

    ListeEnfants m_racines;
    QHash<QString, Noeud*> m_index;
    QMultiHash<QString, Noeud*> m_parTag;
    Noeud* m_selection = nullptr;
    QCollator m_collator;
    bool m_afficherNombreMembres = true;
    bool m_suspendues = false;
};

// The child of parent whose Tag is tag, or nullptr.
Noeud* EnfantDeTag(const Noeud* parent, const QString& tag);

template <class F> void Arbre::ParcoursPrefixe(const Noeud* depuis, F&& visite) const {
    const Noeud* n = depuis ? depuis : Racine();
    const Noeud* borne = depuis;
    while (n) {
        if (!visite(const_cast<Noeud*>(n)))
            return;
        n = SuivantPrefixe(n, borne);
    }
}

// The branches the user opened and the selected node, by Key: what a refresh finds again in the
// tree rebuilt from the directory (a node gone since is left out).
struct VueArbre {
    QStringList deplies;
    QString selection;
};
VueArbre CaptureVue(const Arbre& arbre);
void RestaureVue(Arbre& arbre, const VueArbre& vue);

} // namespace arbrix

#pragma once

// The group operations of the window: what the user picked in the tree is checked and asked
// about, the directory is changed (OperationsAnnuaire), and each change it accepted is applied to
// every instance of the nodes concerned, with their member counts, as soon as it is made. Each
// change is also reported to the journal, if any.

#include "groupops/ChoixMembres.h"
#include "groupops/OperationsAnnuaire.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace arbrix {

class Analyse;
class Arbre;
class DirectoryError;
class Interaction;
class Noeud;
class SessionAD;
struct ChoixCreationGroupe;
struct Parametres;

class OperationsGroupes {
public:
    // The analysis expands a group that appears again under its O.U.
    OperationsGroupes(Arbre& arbre, SessionAD& session, Parametres& parametres, Interaction& interaction,
                      Analyse& analyse);

    void setJournal(std::function<void(const Changement&)> journal) { m_journal = std::move(journal); }

    // Creates a group in the O.U. of the node (an O.U. node) or in the container of the group,
    // then makes it a member of that group. The first form asks for the name, type and scope,
    // the second is given them; both store the type and scope as the new defaults.
    IssueOperation CreeGroupe(Noeud* noeud);
    IssueOperation CreeGroupe(Noeud* noeud, const ChoixCreationGroupe& choix);
    // Takes the group or account node out of the group shown as its parent.
    IssueOperation RetireMembre(Noeud* noeud);
    IssueOperation RetireCompte(Noeud* noeud);
    // Deletes the group after asking for a confirmation; refused on the top node.
    IssueOperation SupprimeGroupe(Noeud* noeud);
    // Renames the group to the (trimmed) name: its relative name, then its account name.
    IssueOperation RenommeGroupe(Noeud* noeud, const QString& nouveauNom);
    // Makes the accounts, then the groups, members of the group node, shown under each of its
    // instances. A member already there, a group inside itself or a circular nesting is
    // reported and skipped; a directory error ends the list, what was added before stays.
    IssueOperation AjouteComptes(Noeud* groupe, const QList<CompteChoisi>& comptes);
    IssueOperation AjouteGroupes(Noeud* groupe, const QList<GroupeChoisi>& groupes);
    // A node dropped on a group: added to it and, unless copie, taken out of the group shown
    // as its parent. A group leaves its O.U. only as a copy.
    IssueOperation DeposeMembre(Noeud* membre, Noeud* cible, bool copie);

private:
    // Runs the directory operation with the hourglass on, each change it makes applied to the
    // tree as soon as the directory accepts it.
    using Application = std::function<void(const Changement&)>;
    IssueOperation execute(const Application& applique, const std::function<ResultatAnnuaire()>& operation);

    struct GroupeARetablir {
        QString nom, tag, image;
    };
    QList<GroupeARetablir> groupesARetablir(const QString& dnSupprime);

    IssueOperation retire(Noeud* noeud, bool groupe);
    // A member taken out of the group tagParent: every instance there goes, and a group left in
    // no group of its O.U. is shown under that O.U. again.
    struct Retrait {
        QString tag, tagParent, nom, image;
        bool groupe = false;
    };
    static Retrait retraitDe(const Noeud* noeud);
    void montreRetrait(const Retrait& r);
    void ajouteSousInstances(const QString& tagParent, const QString& cleSelection, const QString& nom,
                             const QString& tag, const QString& image);
    Noeud* montreCompte(const QString& tagGroupe, const QString& cleSelection, const CompteChoisi& c);
    // What a new leaf shows: its Key's last part, label, Tag and image. A contact or a foreign
    // principal dropped on a group shows there as it did where it came from.
    struct AspectNoeud {
        QString nom, texte, tag, image;
    };
    // The leaf under every instance of the group, counted; the instance under cleSélection.
    Noeud* montreFeuille(const QString& tagGroupe, const QString& cleSelection, const AspectNoeud& a);
    Noeud* montreGroupe(const QString& tagGroupe, const QString& cleSelection, const GroupeChoisi& g,
                        const QString& image);
    void retireDuNiveauOU(const QString& tag);
    bool reapparaitAuNiveauOU(const QString& dn, QStringList memberOf, const QString& dnQuitte) const;
    // A new group has no member to read: reading them would only fail again on a broken connection.
    void retablitAuNiveauOU(const QString& nom, const QString& tag, const QString& image,
                            bool nouveau = false);
    void selectionneApresRetrait(Noeud* noeud);
    void retireInstances(const QString& tag, const QString& tagParent, bool compte);
    void renommeInstances(const QString& ancienTag, const QString& nouveauTag, const QString& nom);

    Arbre& m_arbre;
    SessionAD& m_session;
    Parametres& m_parametres;
    Interaction& m_interaction;
    Analyse& m_analyse;
    OperationsAnnuaire m_annuaire;
    Application m_applique; // of the operation under way
    std::function<void(const Changement&)> m_journal;
};

} // namespace arbrix

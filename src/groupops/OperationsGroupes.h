#pragma once

// The group life cycle on the tree: create a group, remove a member (a group or an account) from
// the group it is shown under, delete a group, rename one. The desktop program runs them on its
// tree; arbrix-cli on a small tree of the objects named on its command line. Each operation
// checks what it is given, changes the directory, and only then updates every instance of the
// nodes concerned, with their member counts. What the user must see or answer goes through
// Interaction; each change the directory accepted is also reported to the journal, if any.

#include "groupops/ChoixMembres.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace arbrix {

class Analyse;
class Arbre;
class DirectoryError;
class DirectoryObject;
class Interaction;
class Noeud;
class SessionAD;
struct ChoixCreationGroupe;
struct Parametres;

enum class IssueOperation {
    Faite,   // everything asked was done (an unchanged name included)
    Annulee, // the user cancelled or answered No: nothing changed
    Refusee, // refused by a check or by the directory; what was done before stays done
    Echouee, // any other directory failure; what was done before stays done
};

// One change the directory accepted.
struct Changement {
    enum class Nature { Creation, Ajout, Retrait, Suppression, Renommage };
    Nature nature;
    QString dn;    // the object created, deleted, renamed (its former DN), added or removed
    QString autre; // the group added to or removed from; the new DN of a rename
};

// What the user reads for a directory error of an operation: a refusal, missing rights, an
// existing name and a change whose answer was lost in words of their own, anything else with its
// number and text.
QString TexteErreurOperation(const DirectoryError& e);

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
    struct GroupeARetablir {
        QString nom, tag, image;
    };
    QList<GroupeARetablir> groupesARetablir(const QString& dnSupprime);

    bool nomRefuse(const QString& nom);
    bool groupeExiste(const QString& nom);
    void ajouteSousInstances(const QString& tagParent, const QString& cleSelection, const QString& nom,
                             const QString& tag, const QString& image);
    IssueOperation retire(Noeud* noeud, bool groupe);
    struct Retrait {
        QString tag, tagParent, dn, dnGroupe, nom, image;
        bool groupe = false;
    };
    static Retrait retraitDe(const Noeud* noeud);
    void retireDuGroupe(const Retrait& r, Noeud* noeud);
    bool creeCycle(const QString& dnAjoute, const QString& dnCible);
    bool ajouteGroupe(DirectoryObject& cible, const QString& tagCible, const QString& cleCible,
                      const GroupeChoisi& g);
    Noeud* montreCompte(const QString& tagGroupe, const QString& cleSelection, const CompteChoisi& c);
    Noeud* montreGroupe(const QString& tagGroupe, const QString& cleSelection, const GroupeChoisi& g,
                        const QString& image);
    void retireDuNiveauOU(const QString& tag);
    void signale(const QString& texte);
    bool reapparaitAuNiveauOU(const QString& dn, QStringList memberOf, const QString& dnQuitte) const;
    // A new group has no member to read: reading them would only fail again on a broken connection.
    void retablitAuNiveauOU(const QString& nom, const QString& tag, const QString& image,
                            bool nouveau = false);
    void selectionneApresRetrait(Noeud* noeud);
    void retireInstances(const QString& tag, const QString& tagParent, bool compte);
    void renommeInstances(const QString& ancienTag, const QString& nouveauTag, const QString& nom);
    IssueOperation signaleErreur(const DirectoryError& e);
    void note(const Changement& changement);

    Arbre& m_arbre;
    SessionAD& m_session;
    Parametres& m_parametres;
    Interaction& m_interaction;
    Analyse& m_analyse;
    std::function<void(const Changement&)> m_journal;
};

} // namespace arbrix

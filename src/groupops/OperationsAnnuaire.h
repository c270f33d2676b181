#pragma once

// The group operations on the directory alone, given DNs: create a group, rename or delete one,
// add members, take a member out, move one from a group to another. Each checks what it is given,
// changes the directory, and reports every change the directory accepted to its journal as it is
// made, then returns them all. The tree applies them (OperationsGroupes); arbrix-cli prints them.
// What the user must read goes through Interaction as it happens.

#include "groupops/ChoixMembres.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace arbrix {

class DirectoryError;
class DirectoryObject;
class Interaction;
class SessionAD;
struct ChoixCreationGroupe;

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
    // What showing it needs, as the directory gave it: the member added, the type of a group
    // created or added, and the name of a group created or renamed.
    std::optional<MembreChoisi> membre = {};
    qint32 groupType = 0;
    QString nom = {};
};

struct ResultatAnnuaire {
    IssueOperation issue = IssueOperation::Faite;
    QList<Changement> changements;
};

// What the user reads for a directory error of an operation: a refusal, missing rights, an
// existing name and a change whose answer was lost in words of their own, anything else with its
// number and text.
QString TexteErreurOperation(const DirectoryError& e);
// Refusee for a refusal, missing rights or an existing name; Echouee for any other error.
IssueOperation IssueDeLErreur(const DirectoryError& e);
// The confirmation asked before the group of that DN is deleted, naming it.
QString QuestionSuppressionGroupe(const QString& dnGroupe);

class OperationsAnnuaire {
public:
    // The journal sees each change as soon as the directory has accepted it; a DirectoryError it
    // raises ends the operation as one of the directory's would.
    using Journal = std::function<void(const Changement&)>;

    OperationsAnnuaire(SessionAD& session, Interaction& interaction);

    void setJournal(Journal journal) { m_journal = std::move(journal); }

    // Why no group can be created under that name (trimmed), in the user's words: a character
    // it may not hold, a group of that name, or a user or computer holding it as account name,
    // each named by its DN; nullopt when the name is free. Raises DirectoryError.
    std::optional<QString> RefusNouveauGroupe(const QString& nom);
    // Creates the group in the O.U. dnParent, or beside the group dnParent and as its member.
    ResultatAnnuaire CreeGroupe(const QString& dnParent, bool dansGroupe, const ChoixCreationGroupe& choix);
    // Renames the group to the (trimmed) name: its relative name, then its account name.
    ResultatAnnuaire RenommeGroupe(const QString& dn, const QString& nouveauNom);
    ResultatAnnuaire SupprimeGroupe(const QString& dn);
    ResultatAnnuaire RetireMembre(const QString& dnGroupe, const QString& dnMembre);
    // A member already there, a group inside itself or a circular nesting is reported and
    // skipped; a directory error ends the list, what was added before stays.
    ResultatAnnuaire AjouteComptes(const QString& dnGroupe, const QList<CompteChoisi>& comptes);
    ResultatAnnuaire AjouteGroupes(const QString& dnGroupe, const QList<GroupeChoisi>& groupes);
    // Adds the member to dnCible and, when dnSource is given, takes it out of dnSource. A group
    // leaves its O.U. only as a copy. The names are those the user sees, for the messages.
    struct Deplacement {
        QString dnMembre, dnSource, dnCible;
        bool groupe = false; // the member is a group
        QString nomMembre, nomCible;
    };
    ResultatAnnuaire DeplaceMembre(const Deplacement& d);

private:
    void note(ResultatAnnuaire& o, Changement changement);
    // A message shown with the hourglass off: the caller set it before the operation.
    void dit(const QString& texte);
    void refuse(ResultatAnnuaire& o, const QString& texte);
    void echec(ResultatAnnuaire& o, const DirectoryError& e);
    bool nomRefuse(ResultatAnnuaire& o, const QString& nom);
    bool creeCycle(const QString& dnAjoute, const QString& dnCible);
    bool ajouteGroupe(ResultatAnnuaire& o, DirectoryObject& cible, const GroupeChoisi& g);
    // Binds the group and runs the step on it; a directory failure ends the operation there.
    ResultatAnnuaire surGroupe(const QString& dnGroupe,
                               const std::function<void(ResultatAnnuaire&, DirectoryObject&)>& etape);

    SessionAD& m_session;
    Interaction& m_interaction;
    Journal m_journal;
};

} // namespace arbrix

#pragma once

// What long operations need of the user: messages, a choice among found objects, the group
// creation dialog, the progress window with its Stop button and the pump of pending window
// events. The window does its own pointer, focus and enabling around a call. The main window
// implements it; tests script it. Every method has a harmless default so that a script
// overrides only what it watches.

#include "tree/Occurrence.h"

#include <QString>

#include <functional>
#include <optional>

namespace arbrix {

enum class IconeMessage { Aucune, Information, Exclamation, Critique, Question };
enum class BoutonsMessage { Ok, OuiNon };
enum class ReponseMessage { Ok, Oui, Non };

// What the group creation dialog answers: the name as typed, the type (0 security,
// 1 distribution) and the scope (0 domain local, 1 global, 2 universal).
struct ChoixCreationGroupe {
    QString nom;
    int type = 0;
    int etendue = 1;
};

// Why a group cannot be created under a name, in the user's words; nullopt when it can.
using ControleNomGroupe = std::function<std::optional<QString>(const QString& nom)>;

class Interaction {
public:
    virtual ~Interaction() = default;

    // --- Messages
    // A modal message box. An empty title stands for the application title (TitreApplication()).
    // défaut is the button chosen by Enter; a box closed without a choice answers défaut
    // (Ok for an Ok box).
    virtual ReponseMessage Message(const QString& texte, IconeMessage icone,
                                   BoutonsMessage boutons = BoutonsMessage::Ok,
                                   ReponseMessage defaut = ReponseMessage::Ok, const QString& titre = {}) {
        (void)texte, (void)icone, (void)boutons, (void)titre;
        return boutons == BoutonsMessage::Ok ? ReponseMessage::Ok : defaut;
    }

    // Shows the found objects (name, description, type text, DN) modally; the index of the
    // chosen one, or nullopt when the choice is cancelled.
    virtual std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) {
        (void)occurrences;
        return std::nullopt;
    }

    // Shows the group creation dialog modally, starting on the given type and scope; a name
    // the check refuses keeps it open on its message. nullopt when it is cancelled.
    virtual std::optional<ChoixCreationGroupe> DemandeCreationGroupe(int type, int etendue,
                                                                     const ControleNomGroupe& controle) {
        (void)type, (void)etendue, (void)controle;
        return std::nullopt;
    }

    // --- Progress window ("Traitement en cours") with its Stop button
    // Showing it clears the Stop flag.
    virtual void AfficheTraitementEnCours() {
        m_arretDemande = false;
        m_traitementAffiche = true;
    }
    virtual void MasqueTraitementEnCours() { m_traitementAffiche = false; }
    bool TraitementEnCoursAffiche() const { return m_traitementAffiche; }
    // The item being worked on: a backslash path, which the window shortens to its width.
    virtual void ChangeTraitementEnCours(const QString& texte) { (void)texte; }

    // Lets pending window events run (a Stop button may be pressed meanwhile).
    virtual void TraiteEvenements() {}

    // --- Stop flag, set by the Stop button of the progress window
    bool ArretDemande() const { return m_arretDemande; }
    void DemandeArret() { m_arretDemande = true; }

private:
    bool m_arretDemande = false;
    bool m_traitementAffiche = false;
};

} // namespace arbrix

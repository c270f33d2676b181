#pragma once

// What long operations need of the user and of the windows: messages, a choice among found
// objects, the progress window with its Stop button, the search box, the mouse pointer and the
// pump of pending window events. The main window implements it; tests script it. Every method
// has a harmless default so that a script overrides only what it watches.

#include "tree/Occurrence.h"

#include <QString>

#include <optional>

namespace arbrix {

class Noeud;

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

    // Shows the group creation dialog modally, starting on the given type and scope; nullopt
    // when it is cancelled.
    virtual std::optional<ChoixCreationGroupe> DemandeCreationGroupe(int type, int etendue) {
        (void)type, (void)etendue;
        return std::nullopt;
    }

    // --- Progress window ("Traitement en cours")
    // Showing it clears the Stop flag.
    virtual void AfficheTraitementEnCours() {
        m_arretDemande = false;
        m_traitementAffiche = true;
    }
    virtual void MasqueTraitementEnCours() { m_traitementAffiche = false; }
    virtual bool TraitementEnCoursAffiche() const { return m_traitementAffiche; }
    // Sets and repaints the item being worked on (already shortened by the caller).
    virtual void ChangeTraitementEnCours(const QString& texte) { (void)texte; }
    // Width available for the item text, and the width of a text in its font, in pixels.
    virtual int LargeurTraitementEnCours() const { return 400; }
    virtual int LargeurTexte(const QString& texte) const { return int(texte.size()) * 7; }

    // Lets pending window events run (a Stop button may be pressed meanwhile).
    virtual void TraiteEvenements() {}

    // --- Stop flag, set by the Stop button of the progress window
    bool ArretDemande() const { return m_arretDemande; }
    void DemandeArret() { m_arretDemande = true; }

    // --- Main window
    // Hourglass (true) or normal (false) mouse pointer.
    virtual void Sablier(bool attente) { (void)attente; }
    // The search box text and the O.U. (0) / group (1) choice.
    virtual QString TexteRecherche() const { return m_texteRecherche; }
    virtual void ChangeTexteRecherche(const QString& texte) { m_texteRecherche = texte; }
    virtual int TypeRecherche() const { return m_typeRecherche; }
    virtual void ChangeTypeRecherche(int type) { m_typeRecherche = type; }
    // Records a name analysed from the search box among the memorised entries.
    virtual void MemoriseRecherche(const QString& nom, int type) { (void)nom, (void)type; }
    // Hides the search box's completion list.
    virtual void MasqueCompletion() {}
    // The tree takes no user input while it is rebuilt.
    virtual void ActiveSaisieArbre(bool active) { (void)active; }
    virtual void DonneFocusArbre() {}
    // Clears the description and managed-by labels under the tree.
    virtual void EffaceDescription() {}
    // Handles a node as if the user had clicked it (description, manager).
    virtual void CliqueNoeud(Noeud* noeud) { (void)noeud; }

private:
    bool m_arretDemande = false;
    bool m_traitementAffiche = false;
    QString m_texteRecherche;
    int m_typeRecherche = 1;
};

} // namespace arbrix

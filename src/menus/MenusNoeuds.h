#pragma once

// The context menus of the tree's nodes and of the managed-by label, built for the selected node,
// with the enable rules of each item. The caller shows the menu (clsPopupMenu::TrackPopup) and
// dispatches on the returned identifier, after IdentifiantRetenu has dropped foreign values.

#include "menus/PopupMenu.h"

#include <QString>

#include <optional>

namespace arbrix {

namespace IdMenu {
constexpr int Annuler = 0;
constexpr int CreerGroupe = 1;
constexpr int SupprimerGroupe = 2;
constexpr int RenommerGroupe = 3;
constexpr int AjouterGroupes = 4;
constexpr int RetirerGroupe = 5;
constexpr int GroupeMembreDe = 6;
constexpr int AjouterComptes = 10;
constexpr int RetirerCompte = 11;
constexpr int InfosCompte = 12;
constexpr int CompteMembreDe = 13;
constexpr int CopierNomCompte = 20;
constexpr int CopierNom = 21;
constexpr int CopierCompte = 22;
constexpr int CopierDistinguishedName = 23;
constexpr int Exporter = 26;
constexpr int MessageNetSend = 30;
constexpr int OuvrirAPartirDeCePoint = 40;
constexpr int OuvrirAPartirDeCePointNouvelleInstance = 41;
constexpr int OuvrirOUParente = 42;
constexpr int OuvrirOUParenteNouvelleInstance = 43;
} // namespace IdMenu

// The operations that exist in this build; an item whose operation is missing stays greyed.
struct OperationsDisponibles {
    bool creerGroupe = false;
    bool ajouterComptes = false;
    bool ajouterGroupes = false;
    bool retirerMembre = false;
    bool supprimerGroupe = false;
    bool renommerGroupe = false;
    bool exporter = false;
    bool netSend = false;
};

// The program-wide list; each operation switches itself on when it is built in.
OperationsDisponibles& Operations();

// What the menus need to know of the selected node.
struct ContexteNoeud {
    QString tag;       // type letter + DN
    QString tagParent; // empty for the top node
    bool estRacine = false;
    bool outilCompteDisponible = false; // the account tool was found at start-up
    OperationsDisponibles operations;
};

clsPopupMenu MenuOU(const ContexteNoeud& noeud);
clsPopupMenu MenuGroupe(const ContexteNoeud& noeud);
clsPopupMenu MenuCompte(const ContexteNoeud& noeud);
// A contact, a foreign security principal or another member that is no account.
clsPopupMenu MenuAutreMembre(const ContexteNoeud& noeud);
clsPopupMenu MenuGerePar(bool outilCompteDisponible);

// The menu of the node's type letter: "O", "G", "U", "C", "S", or the other members' "K", "F",
// "?"; none for any other letter.
std::optional<clsPopupMenu> MenuDuNoeud(const ContexteNoeud& noeud);

// The identifier chosen in a node's menu, or 0 when it lies outside that menu's range
// (1-43 for O.U.s and groups, 11-30 for accounts and other members, 12-23 for the managed-by label).
int IdentifiantRetenu(QChar lettreType, int identifiant);
int IdentifiantRetenuGerePar(int identifiant);

} // namespace arbrix

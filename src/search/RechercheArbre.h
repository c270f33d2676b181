#pragma once

// Finding a text among the labels of the nodes already in the tree (no directory query): a
// walk in pre-order, forwards or backwards, that never wraps around.

#include <QString>

namespace arbrix {

class Arbre;
class Noeud;

// Directions of a search: forwards from the node after the start, backwards from the node before
// it, or forwards testing the start node itself first.
inline constexpr int RechercheSuivante = 1;
inline constexpr int RecherchePrecedente = -1;
inline constexpr int RechercheDepuisDepart = 0;

// One step in pre-order over the whole tree: 1 gives the first child, else the next sibling of the
// nearest node (itself or an ancestor) that has one; -1 gives the deepest last descendant of the
// previous sibling, else the parent. Any other direction leaves the node where it is. nullptr
// past either end.
Noeud* NoeudVoisin(const Arbre& arbre, const Noeud* noeud, int direction);

// The first node, walking from départ in the direction, whose label contains texte without
// regard to case; nullptr when none does (or the text is empty). With no start node a forward
// search tests the tree from its root, a backward one finds nothing.
Noeud* Rechercher(const Arbre& arbre, const Noeud* depart, int direction, const QString& texte);

// The text of the last search, kept for the whole run so that the find window opens with it and
// the menu's "next" and "previous" repeat it.
const QString& TexteRecherche();
void DefinitTexteRecherche(const QString& texte);

// The menu's "next" and "previous" are available with a non-empty tree and a searched text.
bool RechercheRepetable(const Arbre& arbre);

} // namespace arbrix

#include "search/RechercheArbre.h"

#include "tree/Arbre.h"

namespace arbrix {

namespace {

QString& TexteRechercheModifiable() {
    static QString texte;
    return texte;
}

Noeud* DernierDescendant(Noeud* noeud) {
    while (noeud->ChildCount() > 0)
        noeud = noeud->LastChild();
    return noeud;
}

} // namespace

Noeud* NoeudVoisin(const Arbre& arbre, const Noeud* noeud, int direction) {
    if (!noeud)
        return nullptr;
    if (direction == RechercheSuivante)
        return arbre.SuivantPrefixe(noeud);
    if (direction == RecherchePrecedente) {
        if (Noeud* precedent = noeud->PreviousSibling())
            return DernierDescendant(precedent);
        return noeud->Parent();
    }
    return const_cast<Noeud*>(noeud);
}

Noeud* Rechercher(const Arbre& arbre, const Noeud* depart, int direction, const QString& texte) {
    if (texte.isEmpty() || arbre.isEmpty())
        return nullptr;
    if (!depart) {
        if (direction == RecherchePrecedente)
            return nullptr;
        depart = arbre.Racine();
        direction = RechercheDepuisDepart;
    }
    Noeud* noeud = NoeudVoisin(arbre, depart, direction);
    if (direction != RecherchePrecedente)
        direction = RechercheSuivante;
    for (; noeud; noeud = NoeudVoisin(arbre, noeud, direction)) {
        if (noeud->Text().contains(texte, Qt::CaseInsensitive))
            return noeud;
    }
    return nullptr;
}

const QString& TexteRecherche() {
    return TexteRechercheModifiable();
}

void DefinitTexteRecherche(const QString& texte) {
    TexteRechercheModifiable() = texte;
}

bool RechercheRepetable(const Arbre& arbre) {
    return !arbre.isEmpty() && !TexteRecherche().isEmpty();
}

} // namespace arbrix

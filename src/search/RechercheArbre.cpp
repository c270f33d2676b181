#include "search/RechercheArbre.h"

#include "tree/Arbre.h"

namespace arbrix {

namespace {

QString& TexteRecherchéModifiable() {
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
        return arbre.SuivantPréfixe(noeud);
    if (direction == RecherchePrécédente) {
        if (Noeud* précédent = noeud->PreviousSibling())
            return DernierDescendant(précédent);
        return noeud->Parent();
    }
    return const_cast<Noeud*>(noeud);
}

Noeud* Rechercher(const Arbre& arbre, const Noeud* départ, int direction, const QString& texte) {
    if (texte.isEmpty() || arbre.isEmpty())
        return nullptr;
    if (!départ) {
        if (direction == RecherchePrécédente)
            return nullptr;
        départ = arbre.Racine();
        direction = RechercheDepuisDépart;
    }
    Noeud* noeud = NoeudVoisin(arbre, départ, direction);
    if (direction != RecherchePrécédente)
        direction = RechercheSuivante;
    for (; noeud; noeud = NoeudVoisin(arbre, noeud, direction)) {
        if (noeud->Text().contains(texte, Qt::CaseInsensitive))
            return noeud;
    }
    return nullptr;
}

const QString& TexteRecherché() {
    return TexteRecherchéModifiable();
}

void DéfinitTexteRecherché(const QString& texte) {
    TexteRecherchéModifiable() = texte;
}

bool RechercheRépétable(const Arbre& arbre) {
    return !arbre.isEmpty() && !TexteRecherché().isEmpty();
}

} // namespace arbrix

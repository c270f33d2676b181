#pragma once

// Text and list helpers used across the program. Positions are 1-based; a comparison mode is 0
// (exact) or 1 (without regard to case). They differ from the usual string functions at the
// edges, and callers rely on those differences.

#include "text/Erreur.h"
#include "text/Systeme.h"
#include "text/Version.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <initializer_list>

namespace arbrix {

inline constexpr int ComparaisonBinaire = 0;
inline constexpr int ComparaisonTexte = 1;

// Replaces every occurrence of recherche from position début on; the scan resumes after each
// inserted replacement, so a replacement holding the searched text is not replaced again. The
// part before début is kept. An empty recherche leaves the text unchanged.
QString Remplace(const QString& texte, const QString& recherche, const QString& remplacement, int debut = 1,
                 int mode = ComparaisonBinaire);

// Splits at each separator. limite -1: no limit; a positive limit leaves the unsplit rest in the
// last item. A text without the separator, an empty one included, gives one item. limite 0
// raises error 9, a limit below -1 error 5.
QStringList Decoupe(const QString& texte, const QString& separateur, int limite = -1,
                    int mode = ComparaisonBinaire);

// Concatenates the items; the separator goes before an item only when the result so far is not
// empty, so leading empty items leave no separator.
QString Joint(const QStringList& elements, const QString& separateur);

// Position of the last occurrence of recherche starting at or before début (-1: the end of the
// text), 0 when there is none.
int ChercheDepuisFin(const QString& texte, const QString& recherche, int debut = -1,
                     int mode = ComparaisonBinaire);

// The text repeated nombre times (empty for 0 or less).
QString RepeteTexte(int nombre, const QString& texte);

// Walks the values keeping the first, then each later one for which remplace(gardée, valeur) is
// true. An empty list raises error 9.
template <typename T, typename Remplace>
T ValeurRetenue(std::initializer_list<T> valeurs, Remplace remplace) {
    if (valeurs.size() == 0)
        throw ErreurExecution(NumeroErreur::IndiceHorsLimites,
                              QStringLiteral("L'indice n'appartient pas à la sélection"));
    const T* meilleur = valeurs.begin();
    for (const T& valeur : valeurs) {
        if (remplace(*meilleur, valeur))
            meilleur = &valeur;
    }
    return *meilleur;
}

// The greatest (smallest) value, the first one kept on ties. An empty list raises error 9.
template <typename T> T MaximumValeurs(std::initializer_list<T> valeurs) {
    return ValeurRetenue(valeurs, [](const T& a, const T& b) { return a < b; });
}

template <typename T> T MinimumValeurs(std::initializer_list<T> valeurs) {
    return ValeurRetenue(valeurs, [](const T& a, const T& b) { return b < a; });
}

// Fills each "%v" (or "%V") in turn with the text of the next value; missing values give empty
// texts, surplus values are ignored. The search restarts from the beginning after each fill, so
// a value holding "%v" has it filled by the next value.
QString FormateMessage(const QString& texte, const QVariantList& valeurs);

// A folder path with the path separator "/" appended unless it already ends with one.
QString AjouteAntislash(const QString& chemin);

// The date part only.
QDate DateSansHeure(const QDateTime& moment);

} // namespace arbrix

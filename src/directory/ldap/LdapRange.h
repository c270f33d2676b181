#pragma once

// Ranged values: a domain controller returns at most a few thousand values of an attribute per
// answer and names the slice it sent ("member;range=0-1499"); the last slice ends with "*".

#include <QString>
#include <QStringList>

#include <optional>

namespace arbrix {

struct PlageValeurs {
    QString attribut;     // the attribute without its range option: "member"
    qint64 debut = 0;     // first value index of the slice
    qint64 fin = -1;      // last value index; -1 for "*"
    bool derniere = true; // the slice ends with "*"
};

// The range an attribute name carries; nullopt for a name without a (valid) range option.
std::optional<PlageValeurs> AnalysePlage(const QString& nomAttribut);
// The slice an answer carries when it continues precedente: the same attribute, starting after
// the values already read (a server repeating a slice must not make the reading loop forever).
std::optional<PlageValeurs> TrancheSuivante(const PlageValeurs& precedente, const QString& nomAttribut);
// The attribute to request for the slice after precedente: up to taille values, or as many
// as the server gives when taille is 0.
QString PlageSuivante(const PlageValeurs& precedente, int taille);
// The attributes of a search with their first slice requested ("member;range=0-<taille-1>");
// "*", "+", "1.1" and names with options stay as they are.
QStringList AttributsAvecPlage(const QStringList& attributs, int taille);

} // namespace arbrix

#pragma once

// The memorised entries of the search box: names searched before, each with the type under which
// it was searched (0 O.U., 1 group). The list has three sections: pinned entries, the separator
// line, recent entries (most recent first). Items are held in the order the drop-down shows them,
// the separator line included, so an index here is an index in the search box's list.

#include "settings/Ini.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace arbrix {

// The dashed line between pinned and recent entries: 300 times "- ". Never an entry itself.
const QString& SeparateurMemos();

struct EntreeMemo {
    QString nom;
    qint32 type = 0; // 0 O.U., 1 group; any other value read from the file is kept as read

    friend bool operator==(const EntreeMemo&, const EntreeMemo&) = default;
};

class Memos {
public:
    // PositionSéparateurMémos values other than an index.
    static constexpr qsizetype SansSeparateurToutEpingle = -1; // also the value of an empty list
    static constexpr qsizetype SansSeparateurToutRecent = -2;
    static constexpr qint16 MaximumParDefaut = 20;

    // Reads "NbElémentsMémorisésMax" and "Mémos" (or the legacy "NbMémos"/"Mémo<n>" keys when
    // "Mémos" is empty) from section "Config" of the settings file.
    void Charge(const QString& fichierIni);
    // Writes "NbElémentsMémorisésMax" and "Mémos" and removes the legacy keys, among the changes
    // of one save of the settings file.
    void Ecrit(LotIni& lot) const;
    // The same alone, in one replacement of the file.
    EcritureIni Sauve(const QString& fichierIni) const;

    // The same two steps on the stored text of "Mémos" (entries joined by character 30, each
    // "type|pinned|name"), without the settings file.
    void ChargeTexte(const QString& valeurMemos);
    QString TexteSauvegarde() const;

    // Records a search made for name with type: moves or adds it at the top of the recent
    // section, keeps a pinned entry pinned and in place, then trims the recent section to the
    // maximum. Returns the entry's index afterwards.
    qsizetype MemoriseRecherche(const QString& nom, qint32 type);

    // Deletes item i. The separator line is never deleted (returns false). On success the
    // separator position follows its line.
    bool Supprime(qsizetype i);
    // Index to select after item i was deleted: i when an item took its place, else the new last
    // item, else -1 (the list is empty).
    qsizetype IndexApresSuppression(qsizetype i) const;
    // Deletes the first entry (not the separator line) whose name equals nom, ignoring case.
    // Returns the index it had, or -1.
    qsizetype SupprimeParNom(const QString& nom);

    // Index of the first item whose text equals texte under cs, else -1.
    qsizetype IndexDansListe(const QString& texte, Qt::CaseSensitivity cs) const;
    // Indices, in list order, of the items whose text contains texte ignoring case (the
    // separator line included when it matches). Empty text: none.
    QList<qsizetype> Correspondances(const QString& texte) const;

    const QList<EntreeMemo>& Elements() const { return m_elements; }
    qsizetype Nombre() const { return m_elements.size(); }
    bool EstVide() const { return m_elements.isEmpty(); }
    const EntreeMemo& Element(qsizetype i) const { return m_elements.at(i); }
    bool EstSeparateur(qsizetype i) const;
    bool EstEpingle(qsizetype i) const;

    // PositionSéparateurMémos: the separator line's index, or one of the two values above.
    qsizetype PositionSeparateur() const { return m_position; }

    // N, the number of recent entries kept ("NbElémentsMémorisésMax"). Negative values count as 0.
    qint16 MaximumRecents() const { return m_maximum; }
    void FixeMaximumRecents(qint16 n) { m_maximum = n; }

    // The list as the configuration window edits it: every item in order, the separator line as
    // an item of its own; when there is no separator line, one is added after all entries (all
    // pinned) or before them (all recent).
    QList<EntreeMemo> ListeEdition() const;
    // Rebuilds the list from edited items: the first separator item splits pinned (above) from
    // recent (below) entries; further separator items are dropped. The recent section is then
    // trimmed to the maximum.
    void AppliqueListeEdition(const QList<EntreeMemo>& elements);

private:
    void Ajoute(const EntreeMemo& entree, bool epingle);
    void Coupe();
    QList<EntreeMemo> m_elements;
    qsizetype m_position = SansSeparateurToutEpingle;
    qint16 m_maximum = MaximumParDefaut;
};

// What the completion list under the search box holds while the user types, and its selection.
class Completion {
public:
    // Key-up with a key code other than 0: when texte differs (exactly) from DernierTexteSaisi,
    // takes it as the new DernierTexteSaisi and recomputes the candidates (none for an empty
    // text). Returns true when it recomputed: the list must then be closed and shown again
    // with the new candidates, when there are any.
    bool TexteSaisi(const Memos& memos, const QString& texte);
    // The code itself put texte into the box (choice from the drop-down or the list): no
    // completion is computed for it at the next key-up.
    void NoteTexte(const QString& texte) { m_dernierTexte = texte; }
    const QString& DernierTexteSaisi() const { return m_dernierTexte; }

    const QList<EntreeMemo>& Candidats() const { return m_candidats; }
    bool EstVide() const { return m_candidats.isEmpty(); }
    void Vide();

    // Selected candidate index, -1 for none.
    qsizetype Selection() const { return m_selection; }
    const EntreeMemo* CandidatSelectionne() const;
    // Up and Down: return true when the selection moved (never past either end). From no
    // selection Down selects the first candidate and Up does nothing.
    bool Monte();
    bool Descend();
    // The pointer is over candidate i: select it when it exists.
    bool Survole(qsizetype i);

    // Shift+Delete with a selected candidate: deletes the matching entry from mémos and the
    // candidate from the list, then selects the candidate that took its place, else the last
    // one. The separator line is never deleted. Returns true when something was deleted.
    bool SupprimeSelection(Memos& memos);

private:
    QString m_dernierTexte;
    QList<EntreeMemo> m_candidats;
    QList<qsizetype> m_indices; // index of each candidate in the memorised list
    qsizetype m_selection = -1;
};

// Height in pixels of the completion list: candidates × line height + 2, at most the room left.
int HauteurCompletion(qsizetype candidats, int hauteurLigne, int hauteurDisponible);

// The search and analysis buttons are enabled when the box holds a text that is not the
// separator line.
bool RechercheActivable(const QString& texte);

} // namespace arbrix

#pragma once

// The texts that the copy commands of the context menus and the tree's shortcuts put on the
// clipboard, taken from a node's label, key and tag.

#include <QString>

#include <optional>

namespace arbrix {

// "copy name": the text cut at its first non-breaking space (a label without its member count
// or expiry note).
QString TexteSansCompteur(const QString& texte);

// The part of a label before its first " (" (an account's name without its account name),
// then cut as TexteSansCompteur.
QString NomSansCompte(const QString& libelle);

// The account name of an account node: its key after the last "\".
QString CompteDeLaCle(const QString& cle);

// The distinguished name held by a tag: the tag without its type letter.
QString DnDuTag(const QString& tag);

struct NoeudCopie {
    QString libelle;
    QString cle;
    QString tag;
};

// The text that a copy item of a node's menu puts on the clipboard; none for other items.
std::optional<QString> TexteCopieDuNoeud(int identifiant, const NoeudCopie& noeud);

// Tree shortcuts: Ctrl+C copies the label without its count; Ctrl+Shift+C the name alone.
QString TexteCtrlC(const QString& libelle);
QString TexteCtrlMajC(const QString& libelle);

} // namespace arbrix

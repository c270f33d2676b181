#pragma once

// The texts that the copy commands of the context menus and the tree's shortcuts put on the
// clipboard, taken from a node's label, key and tag.

#include <QString>

#include <optional>

namespace arbrix {

// "copy name": the text cut at its first non-breaking space (a label without its member count
// or expiry note).
QString TexteSansCompteur(const QString& texte);

// An account's name without its account name: the label cut as TexteSansCompteur, then at its
// last " (", so that a name holding " (" stays whole.
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

// The text that a copy item of a node's menu puts on the clipboard; none for other items. The
// tree's Ctrl+C and Ctrl+Shift+C copy as "copy name with account" and "copy name".
std::optional<QString> TexteCopieDuNoeud(int identifiant, const NoeudCopie& noeud);

} // namespace arbrix

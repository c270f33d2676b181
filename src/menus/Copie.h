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
QString NomSansCompte(const QString& libellé);

// The account name of an account node: its key after the last "\".
QString CompteDeLaClé(const QString& clé);

// The distinguished name held by a tag: the tag without its type letter.
QString DnDuTag(const QString& tag);

struct NoeudCopié {
    QString libellé;
    QString clé;
    QString tag;
};

// The text that a copy item of a node's menu puts on the clipboard; none for other items.
std::optional<QString> TexteCopiéDuNoeud(int identifiant, const NoeudCopié& noeud);

// Tree shortcuts: Ctrl+C copies the label without its count; Ctrl+Shift+C the name alone.
QString TexteCtrlC(const QString& libellé);
QString TexteCtrlMajC(const QString& libellé);

} // namespace arbrix

#pragma once

// Finding the accounts and groups to make members of a group: the searches of the two choice
// dialogs, and the exact lookup of each entry typed, pasted, picked or named on a command line.
// Every text goes into filters escaped; only in a search field does "*" stand for any characters:
// an entry is always looked up as it is written.

#include "directory/Gateway.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace arbrix {

class SessionAD;

struct CompteChoisi {
    QString Categorie; // "user", "comp" or "svce"
    QString Compte;    // sAMAccountName as stored
    QString Nom;       // displayName for a person, else cn
    QString DistinguishedName;
    qint32 UserAccountControl = 0;
};

struct GroupeChoisi {
    QString Nom; // the value of its RDN
    QString DistinguishedName;
};

using MembreChoisi = std::variant<CompteChoisi, GroupeChoisi>;

// One entry looked up: the object it names, or the DNs of every object that answers it (none
// when nothing does, several when it is ambiguous).
struct MembreTrouve {
    std::optional<MembreChoisi> membre;
    QStringList homonymes;
};

enum class GenreMembre { Compte, Groupe, CompteOuGroupe };

// The object a DN names, read with those attributes (comma-separated); nullopt when there is no
// such object. Raises DirectoryError for any other failure.
std::optional<Recordset> LitObjetParDn(SessionAD& session, const QString& dn, const QStringList& attributs);

// A DN; else an account by "mail" (an entry with "@") or "sAMAccountName"; else a group by name.
// Raises DirectoryError.
MembreTrouve TrouveMembre(SessionAD& session, const QString& entree, GenreMembre genre);

// The entries of a selection box, each resolved; the first entry that names nothing or several
// objects stops it with its message (already translated). choisis maps entries picked from a
// list (in lower case) to the DN of their row. Raises DirectoryError.
struct Resolution {
    QList<MembreChoisi> membres;
    QString refus;
};
Resolution ResoutSelection(SessionAD& session, const QString& selection, GenreMembre genre,
                           const QHash<QString, QString>& choisis = {});

// A selection box's text with line feeds removed and tabs and carriage returns turned into ";".
QString NormaliseSelection(const QString& texte);
// A pasted text as the box takes it: normalised, one trailing ";" dropped; with dollar, each
// entry trimmed and followed by "$" (computer names pasted without it).
QString TexteColle(const QString& pressePapiers, bool dollar);

struct LigneCompte {
    QString nom, description, telephone, compte, dn; // compte in lower case
};
struct LigneGroupe {
    QString nom, description, type, nomAncien, dn; // nomAncien: sAMAccountName when it differs
};

// The accounts whose account, display, common or principal name starts with texte, where a "*"
// stands for any characters. Raises DirectoryError.
QList<LigneCompte> ChercheComptes(SessionAD& session, const QString& texte);
// The groups whose common name starts with texte, "*" standing for any characters. Raises
// DirectoryError.
QList<LigneGroupe> ChercheGroupes(SessionAD& session, const QString& texte);

} // namespace arbrix

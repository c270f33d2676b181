#pragma once

// The least a domain controller needs to be asked for the rows of a tree, written straight on
// libldap: what bench-analyse's figures are measured against.

#include <QString>
#include <QStringList>

namespace arbrix::bench {

// StartTLS, then a simple bind; the CA comes from LDAPTLS_CACERT in the environment.
struct ConnexionReference {
    QString uri;
    QString login;
    QString motDePasse;
};

// ms covers the searches only (connect and bind excluded); lignes is -1 on failure, the error
// having gone to stderr.
struct MesureReference {
    qint64 ms = 0;
    qint64 lignes = 0; // entries received
    int recherches = 0;
    int pages = 0; // answers received: a search has at least one
};

// Group root: one attribute scoped query on member per group reached, enVol at a time on one
// connection, filter (|filtreComptes(objectCategory=group)).
MesureReference LitRacineGroupe(const ConnexionReference& connexion, const QString& dnRacine,
                                const QString& filtreComptes, const QStringList& attributs, int enVol);

// O.U. root: its groups (attributsGroupes and member) and its accounts (attributs) by two subtree
// searches sent together, paged or not, then each member outside the O.U. read once, enVol at a
// time.
MesureReference LitRacineOU(const ConnexionReference& connexion, const QString& dnOu,
                            const QString& filtreComptes, const QStringList& attributs,
                            const QStringList& attributsGroupes, bool pagine, int enVol);

} // namespace arbrix::bench

#pragma once

// An O.U.'s objects read in bulk for the tree of that O.U.: its O.U.s, its groups with their
// "member" values and its accounts, each in one paged subtree search, all three on the network
// together. Level by level, the same tree costs a search of O.U.s, of groups and of accounts
// per O.U., and a query per group, which reads an account again for every group it is in.
//
// A group's content is then made from its "member" values: the groups and accounts of the O.U.
// are already there; members outside it are read afterwards by DN, many to a search, each once.
// Accounts whose primary group a group is are not listed in "member": the group's contents
// still ask for them (CollecteContenus).

#include "directory/Backend.h"
#include "tree/CollecteContenus.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace arbrix {

struct ReglesLectureEnBloc {
    QString base; // the naming context: members outside it are not shown
    QString ou;   // the O.U. read
    bool groupes = true;
    // The members a group shows besides its groups (empty: none, nor any account), and the
    // accounts an O.U. level shows; the second is the first or narrower (accounts only).
    QString filtreMembres;
    QString filtreComptes;
    QStringList attributsComptes;
    QStringList attributsGroupes;
    int requetesSimultanees = 8;
};

class LectureEnBloc {
public:
    // Reads everything; raises DirectoryError.
    LectureEnBloc(Backend& backend, ReglesLectureEnBloc regles);

    // The objects right under an O.U. of the one read, as one-level searches would find them.
    QList<LdapEntry> SousOU(const QString& dnOu) const;
    QList<LdapEntry> Groupes(const QString& dnOu) const;
    QList<LdapEntry> Comptes(const QString& dnOu) const;

    // Whether the group is one of the O.U.'s (by normalised DN), and what it holds.
    bool ConnaitGroupe(const QString& cle) const { return m_groupes.parDn.contains(cle); }
    ContenuGroupe Contenu(const QString& cle) const;

    // Round trips of the bulk read, for the log: searches sent, members read from outside.
    int recherches() const { return m_recherches; }
    int membresExterieurs() const { return m_exterieurs.size(); }

private:
    struct Index {
        QHash<QString, LdapEntry> parDn;          // normalised DN -> row
        QHash<QString, QList<QString>> parParent; // normalised parent DN -> normalised DNs
        void ajoute(LdapEntry ligne);
        QList<LdapEntry> enfants(const QString& dnOu) const;
    };

    void litLaStructure();
    void litLesMembresExterieurs();
    QStringList membresAChercher() const;
    bool dansLaBase(const QString& cle) const;

    Backend& m_backend;
    ReglesLectureEnBloc m_regles;
    QString m_baseNormalisee;
    Index m_ous;
    Index m_groupes;
    Index m_comptes;
    QHash<QString, LdapEntry> m_exterieurs; // members read from outside the O.U., by normalised DN
    int m_recherches = 0;
};

} // namespace arbrix

#pragma once

// The contents of the groups of one analysis, fetched ahead of the tree that shows them.
//
// Each group is asked for once, however often the tree shows it. When the server offers the
// attribute scoped query, one base search on the group returns its member accounts and groups;
// otherwise two searches by "memberOf" do, as the directory has always been asked. Accounts
// whose primary group this is are never listed in "member": a search by primaryGroupID adds
// them for the groups that may be primary groups. Every search goes into one batch, so that up
// to a settable number wait on the network together; and as soon as a group's content arrives,
// its member groups are asked for in turn. The tree is still built in its own order: it takes
// each content when it needs it, waiting for that one if it has not come yet.
//
// A directory that answers each search at once (the embedded one) gains nothing from asking
// ahead or keeping answers: there, each content is asked for when the tree needs it and let go
// once taken, so that the analysis holds no more than the group it expands.

#include "directory/Backend.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

namespace arbrix {

// What the tree shows inside one group, as the directory answered.
struct ContenuGroupe {
    QList<LdapEntry> comptes; // the accounts the mode shows
    QList<LdapEntry> groupes; // the member groups
};

// Whether the row is a group's (its objectClass holds "group").
bool EstGroupe(const LdapEntry& ligne);
// The attributes of a, then those of b that a lacks (names compared without regard to case).
QStringList ReunionAttributs(QStringList a, const QStringList& b);
// What a group's members are read with: the filter of the accounts shown (empty: none) or of a
// group, and the attributes of both with objectClass, which tells them apart.
QString FiltreContenu(const QString& filtreComptes);
QStringList AttributsContenu(const QStringList& attributsComptes, const QStringList& attributsGroupes);

class LectureEnBloc;

struct ReglesCollecte {
    QString base;          // the naming context: members outside it are not shown
    QString filtreComptes; // the mode's account filter; empty: no accounts (groups only)
    QStringList attributsComptes;
    QStringList attributsGroupes;
    bool porteeAttribut = false; // the server answers the attribute scoped query
    int requetesSimultanees = 8;
    // The O.U. read in bulk, if any: the contents of its groups come from there.
    const LectureEnBloc* bloc = nullptr;
    // The RID whose primary-group members a member group needs searched for; nullopt: none.
    std::function<std::optional<quint32>(const LdapEntry& groupe)> ridPrincipal;
};

class CollecteContenus {
public:
    CollecteContenus(Backend& backend, ReglesCollecte regles);
    ~CollecteContenus();
    CollecteContenus(const CollecteContenus&) = delete;
    CollecteContenus& operator=(const CollecteContenus&) = delete;

    // Asks for a group's content ahead of need; nothing when it was asked for already.
    void Annonce(const QString& dn, std::optional<quint32> ridPrincipal);
    // A group's member accounts, then its member groups, waiting for them when needed. Raise
    // DirectoryError when the directory refused them, or on a Stop or a lost server (every
    // search is then given up).
    QList<LdapEntry> Comptes(const QString& dn, std::optional<quint32> ridPrincipal);
    QList<LdapEntry> Groupes(const QString& dn, std::optional<quint32> ridPrincipal);

private:
    enum class Sorte { PorteeAttribut, Principaux, ComptesParMemberOf, GroupesParMemberOf };
    struct Recherche {
        QString cle; // the group's normalised DN
        Sorte sorte;
        SearchRequest requete;
    };
    struct Attente {
        QString dn;
        std::optional<quint32> rid;
        int restantes = 0;
        ContenuGroupe contenu;
        QList<LdapEntry> principaux; // merged into the accounts once everything came
        std::optional<LdapError> erreur;
        bool termine = false;
    };

    bool gardeLesReponses();
    void demande(const QString& cle, const QString& dn, std::optional<quint32> ridPrincipal);
    Attente& attend(const QString& dn, std::optional<quint32> ridPrincipal);
    void demandeAuBloc(Attente& attente, const QString& cle);
    void demandeParPorteeAttribut(Attente& attente, const QString& cle);
    void demandePrincipaux(const QString& cle, quint32 rid);
    void demandeParMemberOf(Attente& attente, const QString& cle);
    void ajoute(const QString& cle, Sorte sorte, SearchRequest requete);
    void envoie();
    // Runs a step that talks to the directory; a Stop or a lost server gives every search up.
    template <typename Etape> auto protege(Etape&& etape);
    void avanceEnPriorite(const QString& cle);
    void recoit(FinishedSearch fini);
    void range(Attente& attente, Sorte sorte, QList<LdapEntry> lignes);
    void acheve(Attente& attente);
    bool dansLaBase(const QString& dn) const;

    Backend& m_backend;
    ReglesCollecte m_regles;
    QString m_baseNormalisee;
    std::unique_ptr<SearchBatch> m_lot;
    // By normalised DN; a node-based map, so that an Attente stays put while others are added.
    std::unordered_map<QString, Attente> m_attentes;
    std::deque<Recherche> m_aEnvoyer;
    QHash<int, Recherche> m_enVol; // by ticket
};

} // namespace arbrix

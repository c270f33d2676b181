#include "groupops/AppartenancesEffectives.h"

#include "directory/Classification.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/PrincipauxEtrangers.h"
#include "directory/Session.h"
#include "groupops/ProprietesCompte.h"

#include <QHash>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

// Past this many chains the walk stops and says so: each group is read once, but the chains of a
// tangled nesting multiply.
constexpr qsizetype MaximumChemins = 20000;

class Parcours {
public:
    Parcours(SessionAD& session, AppartenancesEffectives& resultat, bool effectives)
        : m_session(session)
        , m_resultat(resultat)
        , m_effectives(effectives) {}

    void Depuis(const QString& dn, const QString& nom, const QByteArray& sidGroupePrincipal) {
        QStringList noms{nom};
        QStringList dns{DnNormalise(dn)};
        descend(GroupesDirects(m_session, dn, sidGroupePrincipal), noms, dns);
    }

private:
    // Each group's own groups are asked for once, whatever the number of chains through it.
    const ListeOccurrences& groupesDe(const QString& dn) {
        const QString cle = DnNormalise(dn);
        auto it = m_groupes.find(cle);
        if (it == m_groupes.end())
            it = m_groupes.insert(cle, GroupesDirects(m_session, dn));
        return *it;
    }

    // Recursive: nesting in a directory is tens of levels deep at most.
    void descend(const ListeOccurrences& groupes, QStringList& noms, QStringList& dns) {
        for (const clsOccurrence& groupe : groupes) {
            if (m_resultat.tronque)
                return;
            const QString cle = DnNormalise(groupe.DistinguishedName);
            if (dns.contains(cle)) {
                m_resultat.cycles.append(noms + QStringList{groupe.Nom});
                continue;
            }
            if (m_resultat.chemins.size() >= MaximumChemins) {
                m_resultat.tronque = true;
                return;
            }
            noms.append(groupe.Nom);
            dns.append(cle);
            m_resultat.chemins.append(
                {groupe.DistinguishedName, groupe.TypeObjetEnTexte, groupe.Description, noms});
            if (m_effectives)
                descend(groupesDe(groupe.DistinguishedName), noms, dns);
            noms.removeLast();
            dns.removeLast();
        }
    }

    SessionAD& m_session;
    AppartenancesEffectives& m_resultat;
    const bool m_effectives;
    QHash<QString, ListeOccurrences> m_groupes;
};

} // namespace

std::optional<AppartenancesEffectives> LitAppartenancesEffectives(SessionAD& session, const QString& dn,
                                                                  bool effectives) {
    const std::unique_ptr<DirectoryObject> objet = LieSiPresent(session, dn);
    if (!objet)
        return std::nullopt;
    AppartenancesEffectives resultat;
    resultat.nom = objet->Get(u"name").toString();
    if (resultat.nom.isEmpty())
        resultat.nom = DnValeurRdn(objet->dn());
    // A foreign principal is named by its SID: the chains start from the name it stands for.
    if (CleCategorieMembre(objet->GetEx(u"objectClass")) == u"fsp")
        resultat.nom = NomsPrincipauxEtrangers(session).Libelle(resultat.nom);
    Parcours(session, resultat, effectives).Depuis(objet->dn(), resultat.nom, SidDuGroupePrincipal(*objet));
    return resultat;
}

QString TexteChemin(const QStringList& noms) {
    return noms.join(u" > "_s);
}

} // namespace arbrix

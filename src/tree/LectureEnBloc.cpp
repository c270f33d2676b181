#include "tree/LectureEnBloc.h"

#include "directory/Classification.h"
#include "directory/Dn.h"
#include "directory/Query.h"
#include "directory/Values.h"
#include "tree/ClesImages.h"

#include <QSet>

#include <utility>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

// Members from outside named in one search: a filter of a few kilobytes, which every server
// takes, for a hundredth of the round trips.
constexpr qsizetype DnsParRecherche = 100;

// The searches of one step, sent together; each one's rows go to its own list.
void LitEnsemble(Backend& backend, int enVol, const QList<SearchRequest>& requetes,
                 QList<QList<LdapEntry>*> resultats) {
    if (requetes.isEmpty())
        return;
    try {
        std::unique_ptr<SearchBatch> lot = backend.searchBatch(enVol);
        QHash<int, QList<LdapEntry>*> destinations;
        for (qsizetype i = 0; i < requetes.size(); ++i) {
            // Paging costs a Samba controller as much again; Active Directory caps an unpaged
            // answer at its page size, and such a search is then asked again page by page.
            SearchRequest requete = requetes.at(i);
            requete.unpagedFirst = true;
            destinations.insert(lot->start(requete), resultats.at(i));
        }
        while (std::optional<FinishedSearch> fini = lot->next()) {
            if (fini->error)
                throw queryError(*fini->error);
            *destinations.value(fini->ticket) += std::move(fini->entries);
        }
    } catch (const LdapError& e) {
        throw queryError(e);
    }
}

// The objects named in dns that also match filtre, for one search over the base.
QString FiltreParDn(const QString& filtre, const QStringList& dns) {
    QString ou = u"(|"_s;
    for (const QString& dn : dns)
        ou += FiltreEgalite(u"distinguishedName", dn);
    ou += u')';
    return u"(&"_s + filtre + ou + u')';
}

} // namespace

void LectureEnBloc::Index::ajoute(LdapEntry ligne) {
    const QString cle = DnNormalise(ligne.dn);
    parParent[DnNormalise(DnParent(ligne.dn))].append(cle);
    parDn.insert(cle, std::move(ligne));
}

QList<LdapEntry> LectureEnBloc::Index::enfants(const QString& dnOu) const {
    QList<LdapEntry> lignes;
    for (const QString& cle : parParent.value(DnNormalise(dnOu)))
        lignes.append(parDn.value(cle));
    return lignes;
}

LectureEnBloc::LectureEnBloc(Backend& backend, ReglesLectureEnBloc regles)
    : m_backend(backend)
    , m_regles(std::move(regles))
    , m_baseNormalisee(DnNormalise(m_regles.base)) {
    litLaStructure();
    litLesMembresExterieurs();
}

void LectureEnBloc::litLaStructure() {
    // The O.U. itself answers the first search too: it is not one of its own sub-O.U.s.
    QList<SearchRequest> requetes{searchRequest(m_regles.ou, SearchScope::Subtree,
                                                u"(objectCategory=OrganizationalUnit)"_s,
                                                {u"name"_s, u"distinguishedName"_s})};
    if (m_regles.groupes)
        requetes << searchRequest(m_regles.ou, SearchScope::Subtree, u"(objectCategory=group)"_s,
                                  ReunionAttributs(m_regles.attributsGroupes, {u"member"_s}));
    if (m_regles.groupes && !m_regles.filtreMembres.isEmpty())
        requetes << searchRequest(m_regles.ou, SearchScope::Subtree, m_regles.filtreMembres,
                                  ReunionAttributs(m_regles.attributsComptes, {u"objectClass"_s}));
    QList<LdapEntry> ous, groupes, comptes;
    LitEnsemble(m_backend, m_regles.requetesSimultanees, requetes, {&ous, &groupes, &comptes});
    m_recherches += int(requetes.size());
    const QString racine = DnNormalise(m_regles.ou);
    for (LdapEntry& ligne : ous) {
        if (DnNormalise(ligne.dn) != racine)
            m_ous.ajoute(std::move(ligne));
    }
    for (LdapEntry& ligne : groupes)
        m_groupes.ajoute(std::move(ligne));
    for (LdapEntry& ligne : comptes)
        m_comptes.ajoute(std::move(ligne));
}

QStringList LectureEnBloc::membresAChercher() const {
    // Inside the O.U., the searches found every member the tree shows: only members from
    // elsewhere in the naming context are still to be read.
    QSet<QString> vus;
    QStringList dns;
    const QString ou = DnNormalise(m_regles.ou);
    for (const LdapEntry& groupe : m_groupes.parDn) {
        const LdapAttribute* membres = groupe.find(u"member");
        if (!membres)
            continue;
        for (const QByteArray& valeur : membres->values) {
            const QString dn = QString::fromUtf8(valeur);
            const QString cle = DnNormalise(dn);
            if (DnNormaliseSousBase(cle, ou) || !dansLaBase(cle) || vus.contains(cle))
                continue;
            vus.insert(cle);
            dns.append(dn);
        }
    }
    return dns;
}

void LectureEnBloc::litLesMembresExterieurs() {
    const QStringList dns = membresAChercher();
    if (dns.isEmpty())
        return;
    // Read as a group's scoped query reads its members.
    const QString filtre = FiltreContenu(m_regles.filtreMembres);
    const QStringList attributs = AttributsContenu(m_regles.attributsComptes, m_regles.attributsGroupes);
    QList<SearchRequest> requetes;
    for (qsizetype i = 0; i < dns.size(); i += DnsParRecherche)
        requetes << searchRequest(m_regles.base, SearchScope::Subtree,
                                  FiltreParDn(filtre, dns.mid(i, DnsParRecherche)), attributs);
    QList<QList<LdapEntry>> lignes(requetes.size());
    QList<QList<LdapEntry>*> destinations;
    for (QList<LdapEntry>& l : lignes)
        destinations << &l;
    LitEnsemble(m_backend, m_regles.requetesSimultanees, requetes, destinations);
    m_recherches += int(requetes.size());
    for (QList<LdapEntry>& l : lignes) {
        for (LdapEntry& ligne : l)
            m_exterieurs.insert(DnNormalise(ligne.dn), std::move(ligne));
    }
}

bool LectureEnBloc::dansLaBase(const QString& cle) const {
    return DnNormaliseSousBase(cle, m_baseNormalisee);
}

QList<LdapEntry> LectureEnBloc::SousOU(const QString& dnOu) const {
    return m_ous.enfants(dnOu);
}

QList<LdapEntry> LectureEnBloc::Groupes(const QString& dnOu) const {
    return m_groupes.enfants(dnOu);
}

QList<LdapEntry> LectureEnBloc::Comptes(const QString& dnOu) const {
    QList<LdapEntry> lignes = m_comptes.enfants(dnOu);
    if (m_regles.filtreComptes != m_regles.filtreMembres) {
        // Members that are no accounts (contacts, say) show in groups only.
        lignes.removeIf([](const LdapEntry& ligne) {
            const LdapAttribute* classes = ligne.find(u"objectClass");
            return EstAutreMembre(
                LettreTypeCompte(CleCategorieMembre(classes ? valeurAttribut(*classes) : QVariant())));
        });
    }
    return lignes;
}

ContenuGroupe LectureEnBloc::Contenu(const QString& cle) const {
    ContenuGroupe contenu;
    const auto groupe = m_groupes.parDn.constFind(cle);
    const LdapAttribute* membres = groupe == m_groupes.parDn.constEnd() ? nullptr : groupe->find(u"member");
    if (!membres)
        return contenu;
    QSet<QString> vus;
    for (const QByteArray& valeur : membres->values) {
        const QString membre = DnNormalise(QString::fromUtf8(valeur));
        if (vus.contains(membre))
            continue;
        vus.insert(membre);
        if (const auto g = m_groupes.parDn.constFind(membre); g != m_groupes.parDn.constEnd())
            contenu.groupes.append(*g);
        else if (const auto c = m_comptes.parDn.constFind(membre); c != m_comptes.parDn.constEnd())
            contenu.comptes.append(*c);
        else if (const auto e = m_exterieurs.constFind(membre); e != m_exterieurs.constEnd())
            (EstGroupe(*e) ? contenu.groupes : contenu.comptes).append(*e);
    }
    return contenu;
}

} // namespace arbrix

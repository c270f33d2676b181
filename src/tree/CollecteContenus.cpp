#include "tree/CollecteContenus.h"

#include "directory/Dn.h"
#include "directory/Query.h"
#include "tree/LectureEnBloc.h"

#include <QSet>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace arbrix {

bool EstGroupe(const LdapEntry& ligne) {
    const LdapAttribute* classes = ligne.find(u"objectClass");
    return classes && std::any_of(classes->values.cbegin(), classes->values.cend(), [](const QByteArray& c) {
               return c.compare("group", Qt::CaseInsensitive) == 0;
           });
}

QStringList ReunionAttributs(QStringList a, const QStringList& b) {
    for (const QString& x : b) {
        if (!a.contains(x, Qt::CaseInsensitive))
            a += x;
    }
    return a;
}

QString FiltreContenu(const QString& filtreComptes) {
    return filtreComptes.isEmpty() ? u"(objectCategory=group)"_s
                                   : u"(|"_s + filtreComptes + u"(objectCategory=group))"_s;
}

QStringList AttributsContenu(const QStringList& attributsComptes, const QStringList& attributsGroupes) {
    return ReunionAttributs(attributsComptes, attributsGroupes + QStringList{u"objectClass"_s});
}

CollecteContenus::CollecteContenus(Backend& backend, ReglesCollecte regles)
    : m_backend(backend)
    , m_regles(std::move(regles))
    , m_baseNormalisee(DnNormalise(m_regles.base)) {}

// In-flight searches are abandoned with the batch.
CollecteContenus::~CollecteContenus() = default;

template <typename Etape> auto CollecteContenus::protege(Etape&& etape) {
    try {
        return etape();
    } catch (const LdapError& e) {
        // What was under way is asked for again by a later call.
        m_lot.reset();
        m_aEnvoyer.clear();
        m_enVol.clear();
        std::erase_if(m_attentes, [](const auto& a) { return !a.second.termine; });
        throw queryError(e);
    }
}

bool CollecteContenus::gardeLesReponses() {
    if (!m_lot)
        m_lot = m_backend.searchBatch(m_regles.requetesSimultanees);
    return m_lot->concurrent();
}

void CollecteContenus::Annonce(const QString& dn, std::optional<quint32> ridPrincipal) {
    if (gardeLesReponses())
        demande(DnNormalise(dn), dn, ridPrincipal);
}

void CollecteContenus::demande(const QString& cle, const QString& dn, std::optional<quint32> ridPrincipal) {
    if (m_attentes.count(cle))
        return;
    Attente& attente = m_attentes[cle];
    attente.dn = dn;
    attente.rid = ridPrincipal;
    if (m_regles.bloc && m_regles.bloc->ConnaitGroupe(cle))
        demandeAuBloc(attente, cle);
    else if (m_regles.porteeAttribut)
        demandeParPorteeAttribut(attente, cle);
    else
        demandeParMemberOf(attente, cle);
    protege([this] { envoie(); });
}

CollecteContenus::Attente& CollecteContenus::attend(const QString& dn, std::optional<quint32> ridPrincipal) {
    const QString cle = DnNormalise(dn);
    demande(cle, dn, ridPrincipal);
    protege([&] {
        avanceEnPriorite(cle);
        while (!m_attentes.at(cle).termine) {
            std::optional<FinishedSearch> fini = m_lot->next();
            if (!fini)
                break;
            recoit(std::move(*fini));
            envoie();
        }
    });
    Attente& attente = m_attentes.at(cle);
    if (attente.erreur) {
        const LdapError erreur = *attente.erreur;
        if (!gardeLesReponses())
            m_attentes.erase(cle);
        throw queryError(erreur);
    }
    return attente;
}

QList<LdapEntry> CollecteContenus::Comptes(const QString& dn, std::optional<quint32> ridPrincipal) {
    Attente& attente = attend(dn, ridPrincipal);
    return gardeLesReponses() ? attente.contenu.comptes : std::exchange(attente.contenu.comptes, {});
}

QList<LdapEntry> CollecteContenus::Groupes(const QString& dn, std::optional<quint32> ridPrincipal) {
    Attente& attente = attend(dn, ridPrincipal);
    QList<LdapEntry> groupes = attente.contenu.groupes;
    if (!gardeLesReponses())
        m_attentes.erase(DnNormalise(dn));
    return groupes;
}

void CollecteContenus::demandeParPorteeAttribut(Attente& attente, const QString& cle) {
    SearchRequest requete;
    requete.base = attente.dn;
    requete.scope = SearchScope::Base;
    requete.scopedAttribute = u"member"_s;
    requete.filter = FiltreContenu(m_regles.filtreComptes);
    requete.attributes = AttributsContenu(m_regles.attributsComptes, m_regles.attributsGroupes);
    ajoute(cle, Sorte::PorteeAttribut, requete);
    if (attente.rid && !m_regles.filtreComptes.isEmpty())
        demandePrincipaux(cle, *attente.rid);
}

void CollecteContenus::demandeAuBloc(Attente& attente, const QString& cle) {
    attente.contenu = m_regles.bloc->Contenu(cle);
    if (attente.rid && !m_regles.filtreComptes.isEmpty()) {
        demandePrincipaux(cle, *attente.rid);
        return;
    }
    attente.termine = true;
    // Member groups from outside the O.U. are asked for ahead; the O.U.'s own are at hand, and
    // asked for as the tree reaches them, so that no chain of nested groups is walked at once.
    for (const LdapEntry& groupe : std::as_const(attente.contenu.groupes)) {
        if (!m_regles.bloc->ConnaitGroupe(DnNormalise(groupe.dn)))
            Annonce(groupe.dn, m_regles.ridPrincipal ? m_regles.ridPrincipal(groupe) : std::nullopt);
    }
}

void CollecteContenus::demandePrincipaux(const QString& cle, quint32 rid) {
    SearchRequest principaux;
    principaux.base = m_regles.base;
    principaux.filter =
        u"(&"_s + m_regles.filtreComptes + u"(primaryGroupID="_s + QString::number(rid) + u"))"_s;
    principaux.attributes = m_regles.attributsComptes;
    ajoute(cle, Sorte::Principaux, principaux);
}

void CollecteContenus::demandeParMemberOf(Attente& attente, const QString& cle) {
    const QString membre = u"(memberOf="_s + EchappeValeurFiltre(attente.dn) + u')';
    if (!m_regles.filtreComptes.isEmpty()) {
        // Members listed in "member", and those whose primary group this is, in one search.
        const QString membres =
            attente.rid ? u"(|"_s + membre + u"(primaryGroupID="_s + QString::number(*attente.rid) + u"))"_s
                        : membre;
        SearchRequest comptes;
        comptes.base = m_regles.base;
        comptes.filter = u"(&"_s + m_regles.filtreComptes + membres + u')';
        comptes.attributes = m_regles.attributsComptes;
        ajoute(cle, Sorte::ComptesParMemberOf, comptes);
    }
    SearchRequest groupes;
    groupes.base = m_regles.base;
    groupes.filter = u"(&"_s + membre + u"(objectCategory=group))"_s;
    groupes.attributes = m_regles.attributsGroupes;
    ajoute(cle, Sorte::GroupesParMemberOf, groupes);
}

void CollecteContenus::ajoute(const QString& cle, Sorte sorte, SearchRequest requete) {
    ++m_attentes.at(cle).restantes;
    m_aEnvoyer.push_back({cle, sorte, std::move(requete)});
}

void CollecteContenus::envoie() {
    gardeLesReponses();
    while (m_enVol.size() < qsizetype(std::max(1, m_regles.requetesSimultanees)) && !m_aEnvoyer.empty()) {
        Recherche recherche = std::move(m_aEnvoyer.front());
        m_aEnvoyer.pop_front();
        const int ticket = m_lot->start(recherche.requete);
        m_enVol.insert(ticket, std::move(recherche));
    }
}

void CollecteContenus::avanceEnPriorite(const QString& cle) {
    // The group the tree waits for goes before those asked for ahead of need.
    std::stable_partition(m_aEnvoyer.begin(), m_aEnvoyer.end(),
                          [&cle](const Recherche& r) { return r.cle == cle; });
    envoie();
}

void CollecteContenus::recoit(FinishedSearch fini) {
    const auto trouve = m_enVol.find(fini.ticket);
    if (trouve == m_enVol.end())
        return;
    const Recherche recherche = std::move(*trouve);
    m_enVol.erase(trouve);
    const auto attente = m_attentes.find(recherche.cle);
    if (attente == m_attentes.end())
        return;
    Attente& a = attente->second;
    if (fini.error && recherche.sorte == Sorte::PorteeAttribut) {
        // A server that refuses the query for this group (too large to page, say) still
        // answers the searches by memberOf; this group's other searches are left unread.
        a.restantes = 0;
        a.principaux.clear();
        std::erase_if(m_aEnvoyer, [&](const Recherche& r) { return r.cle == recherche.cle; });
        m_enVol.removeIf([&](const auto& r) { return r.value().cle == recherche.cle; });
        demandeParMemberOf(a, recherche.cle);
        avanceEnPriorite(recherche.cle);
        return;
    }
    if (fini.error && !a.erreur)
        a.erreur = std::move(fini.error);
    else
        range(a, recherche.sorte, std::move(fini.entries));
    if (--a.restantes == 0)
        acheve(a);
}

void CollecteContenus::range(Attente& attente, Sorte sorte, QList<LdapEntry> lignes) {
    switch (sorte) {
    case Sorte::PorteeAttribut:
        for (LdapEntry& ligne : lignes) {
            if (!dansLaBase(ligne.dn))
                continue;
            (EstGroupe(ligne) ? attente.contenu.groupes : attente.contenu.comptes).append(std::move(ligne));
        }
        break;
    case Sorte::Principaux:
        attente.principaux = std::move(lignes);
        break;
    case Sorte::ComptesParMemberOf:
        attente.contenu.comptes = std::move(lignes);
        break;
    case Sorte::GroupesParMemberOf:
        attente.contenu.groupes = std::move(lignes);
        break;
    }
}

void CollecteContenus::acheve(Attente& attente) {
    attente.termine = true;
    if (attente.erreur)
        return;
    // A member may name its primary group in "member" as well: it is shown once.
    if (!attente.principaux.isEmpty()) {
        QSet<QString> deja;
        for (const LdapEntry& c : std::as_const(attente.contenu.comptes))
            deja.insert(DnNormalise(c.dn));
        for (LdapEntry& ligne : attente.principaux) {
            if (!deja.contains(DnNormalise(ligne.dn)))
                attente.contenu.comptes.append(std::move(ligne));
        }
        attente.principaux.clear();
    }
    // The member groups are the next level of the tree: ask for them now.
    for (const LdapEntry& groupe : std::as_const(attente.contenu.groupes))
        Annonce(groupe.dn, m_regles.ridPrincipal ? m_regles.ridPrincipal(groupe) : std::nullopt);
}

bool CollecteContenus::dansLaBase(const QString& dn) const {
    return DnNormaliseSousBase(DnNormalise(dn), m_baseNormalisee);
}

} // namespace arbrix

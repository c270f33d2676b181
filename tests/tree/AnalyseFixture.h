#pragma once

// The sample domain in the embedded directory, a session over it, the settings, the tree and a
// scripted user, for the analysis tests.

#include "directory/ForwardingBackend.h"
#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "shell/TemoinMessages.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << '"' << texte.toStdString() << '"';
}

namespace arbrix::test {

// Answers as a user would, and records what the analysis showed.
class UtilisateurScripte : public Temoin {
public:
    std::vector<ListeOccurrences> listesOffertes;
    QStringList progression;
    int pompes = 0;
    int arretALaPompe = -1; // presses Stop when the events pump has run this many times
    int traitementsAffiches = 0;

    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override {
        listesOffertes.push_back(occurrences);
        return choix;
    }
    void AfficheTraitementEnCours() override {
        Interaction::AfficheTraitementEnCours();
        ++traitementsAffiches;
    }
    void ChangeTraitementEnCours(const QString& texte) override { progression << texte; }
    void TraiteEvenements() override {
        if (++pompes == arretALaPompe)
            DemandeArret();
    }
};

// Forwards to the embedded directory; can answer like a domain controller that leaves the
// computed account-control attribute out of searches below the base, and can fail searches.
class AnnuaireEnveloppe : public ForwardingBackend {
public:
    explicit AnnuaireEnveloppe(std::shared_ptr<MemoryBackend> annuaire)
        : ForwardingBackend(annuaire)
        , m_annuaire(std::move(annuaire)) {}

    bool sansAttributCalcule = false;
    // Called before each search; may raise LdapError.
    std::function<void(const SearchRequest&)> avantRecherche;

    std::unique_ptr<SearchCursor> search(const SearchRequest& requete) override;
    // The analysis's batched searches go through search() too, to be altered or failed there.
    std::unique_ptr<SearchBatch> searchBatch(int enVol) override { return Backend::searchBatch(enVol); }

private:
    std::shared_ptr<MemoryBackend> m_annuaire;
};

inline QString dnVelmora(const QString& debut) {
    return debut + QStringLiteral(",OU=Velmora,DC=velmora,DC=test");
}

class AnalyseDomaine : public ::testing::Test {
protected:
    void SetUp() override;

    // The tree as indented lines "Text [Image]", NBSP shown as "·".
    QString dessin() const;
    // The node whose Key ends with this path under the root.
    Noeud* noeud(const QString& finDeCle) const;
    // Counts of the embedded directory since the last reset.
    const RoundTrips& allers() { return m_annuaire->roundTrips(); }
    // Adds an entry to the embedded directory ("attr=value" texts).
    void ajouteEntree(const QString& dn, const QStringList& attributs);

    std::shared_ptr<MemoryBackend> m_annuaire;
    std::shared_ptr<AnnuaireEnveloppe> m_enveloppe;
    std::unique_ptr<SessionAD> m_session;
    Parametres m_parametres;
    Arbre m_arbre;
    UtilisateurScripte m_utilisateur;
    std::unique_ptr<Analyse> m_analyse;
};

inline std::unique_ptr<SearchCursor> AnnuaireEnveloppe::search(const SearchRequest& requete) {
    if (avantRecherche)
        avantRecherche(requete);
    SearchRequest demandee = requete;
    if (sansAttributCalcule && (requete.scope != SearchScope::Base || !requete.scopedAttribute.isEmpty()))
        demandee.attributes.removeIf([](const QString& a) {
            return a.compare(u"msDS-User-Account-Control-Computed", Qt::CaseInsensitive) == 0;
        });
    return m_annuaire->search(demandee);
}

inline void AnalyseDomaine::SetUp() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Catalogue().Vide();
    ChargeTraductions(QString());
    m_annuaire =
        std::make_shared<MemoryBackend>(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif"));
    m_enveloppe = std::make_shared<AnnuaireEnveloppe>(m_annuaire);
    m_session = std::make_unique<SessionAD>(m_enveloppe, AccesAnnuaire{});
    m_session->definitNomUtilisateurSysteme([] { return QStringLiteral("test"); });
    ASSERT_TRUE(m_session->Ouvre().reussi());
    m_arbre.setLocale(QLocale(QLocale::French, QLocale::France));
    m_parametres.ControlerVerrouilleExpire = false; // the tests of account states turn it on
    m_analyse = std::make_unique<Analyse>(m_arbre, *m_session, m_parametres, m_utilisateur);
    m_analyse->setHorloge([] { return QDateTime(QDate(2024, 6, 1), QTime(12, 0)); });
    m_annuaire->resetRoundTrips();
}

inline QString AnalyseDomaine::dessin() const {
    QString texte;
    m_arbre.ParcoursPrefixe(nullptr, [&texte](Noeud* n) {
        texte += QString(n->Depth() * 2, u' ') + QString(n->Text()).replace(QChar(NBSP), u'·') + " [" +
                 n->Image() + "]\n";
        return true;
    });
    return texte;
}

inline Noeud* AnalyseDomaine::noeud(const QString& finDeCle) const {
    Noeud* trouve = nullptr;
    m_arbre.ParcoursPrefixe(nullptr, [&](Noeud* n) {
        if (n->Key().endsWith(finDeCle))
            trouve = n;
        return trouve == nullptr;
    });
    return trouve;
}

inline void AnalyseDomaine::ajouteEntree(const QString& dn, const QStringList& attributs) {
    QList<LdapAttribute> liste;
    for (const QString& attribut : attributs) {
        const QString nom = attribut.section(u'=', 0, 0);
        const QByteArray valeur = attribut.section(u'=', 1).toUtf8();
        auto it =
            std::find_if(liste.begin(), liste.end(), [&](const LdapAttribute& a) { return a.name == nom; });
        if (it == liste.end())
            liste.append({nom, {valeur}});
        else
            it->values.append(valeur);
    }
    m_annuaire->add(dn, liste);
}

} // namespace arbrix::test

#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QRandomGenerator>

#include <map>
#include <vector>

using namespace arbrix;

namespace {

const QString nbsp{QChar(NBSP)};

// Texts met by a pre-order walk from a node (the whole tree for nullptr) until one is refused.
QStringList parcours(const Arbre& arbre, Noeud* depuis, const QString& arret = {}) {
    QStringList vus;
    arbre.ParcoursPrefixe(depuis, [&](Noeud* n) {
        vus << n->Text();
        return n->Text() != arret;
    });
    return vus;
}

QStringList textesEnfants(const Arbre& arbre, const Noeud* parent) {
    QStringList textes;
    for (int i = 0; i < arbre.ChildCount(parent); ++i)
        textes << arbre.Child(parent, i)->Text();
    return textes;
}

// Replays the tree's notifications on a plain copy of the top-level rows and the children of
// every node, as an item model adapter would, so that rows given by the signals can be checked.
class Miroir {
public:
    explicit Miroir(Arbre& arbre)
        : m_arbre(arbre) {
        QObject::connect(&arbre, &Arbre::nodeInserted, [this](Noeud* parent, int row) {
            auto& liste = m_lignes[parent];
            ASSERT_LE(row, int(liste.size()));
            liste.insert(liste.begin() + row, m_arbre.Child(parent, row));
        });
        QObject::connect(&arbre, &Arbre::nodeAboutToBeRemoved, [this](Noeud* parent, int row) {
            auto& liste = m_lignes[parent];
            ASSERT_LT(row, int(liste.size()));
            ASSERT_EQ(liste[std::size_t(row)], m_arbre.Child(parent, row));
            oublie(liste[std::size_t(row)]);
            liste.erase(liste.begin() + row);
        });
        QObject::connect(&arbre, &Arbre::nodeAboutToBeMoved, [this](Noeud* parent, int from, int to) {
            auto& liste = m_lignes[parent];
            Noeud* n = liste[std::size_t(from)];
            liste.erase(liste.begin() + from);
            liste.insert(liste.begin() + to, n);
        });
        QObject::connect(&arbre, &Arbre::reset, [this] {
            m_lignes.clear();
            if (!m_arbre.notificationsSuspended())
                recopie(nullptr);
        });
    }

    void verifie(const Noeud* parent = nullptr) const {
        const auto it = m_lignes.find(const_cast<Noeud*>(parent));
        const std::size_t n = it == m_lignes.end() ? 0 : it->second.size();
        ASSERT_EQ(int(n), m_arbre.ChildCount(parent));
        for (int i = 0; i < int(n); ++i) {
            ASSERT_EQ(it->second[std::size_t(i)], m_arbre.Child(parent, i));
            verifie(m_arbre.Child(parent, i));
        }
    }

private:
    void recopie(Noeud* parent) {
        for (int i = 0; i < m_arbre.ChildCount(parent); ++i) {
            m_lignes[parent].push_back(m_arbre.Child(parent, i));
            recopie(m_arbre.Child(parent, i));
        }
    }
    void oublie(Noeud* n) {
        const auto it = m_lignes.find(n);
        if (it == m_lignes.end())
            return;
        for (Noeud* e : it->second)
            oublie(e);
        m_lignes.erase(n);
    }

    Arbre& m_arbre;
    std::map<Noeud*, std::vector<Noeud*>> m_lignes;
};

} // namespace

TEST(Libelles, countShownOrNotAndReadBack) {
    EXPECT_EQ(FormateLibelle("Sales", 12, true), "Sales" + nbsp + "(12)");
    EXPECT_EQ(FormateLibelle("Sales", 12, false), "Sales");
    EXPECT_EQ(NomDuLibelle("Sales" + nbsp + "(12)"), "Sales");
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp + "(12)"), 12);
    EXPECT_EQ(NombreDuLibelle("Sales"), 0);
    EXPECT_EQ(NomDuLibelle("Sales"), "Sales");
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp + "(-3)"), -3);
    // Not numeric: its leading number, or 0.
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp + "(12abc)"), 12);
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp + "(abc)"), 0);
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp), 0);
    EXPECT_EQ(NombreDuLibelle("Sales" + nbsp + "()"), 0);
    // An account label with an expiry note: the name stops at the note.
    const QString compte = "Jean Dupont (jdupont)" + nbsp + "-> expirera le 01/02/2030";
    EXPECT_EQ(NomDuLibelle(compte), "Jean Dupont (jdupont)");
    EXPECT_EQ(NombreDuLibelle(compte), 0);
}

TEST(Arbre, keysAreUniqueAndIndexed) {
    Arbre arbre;
    Noeud* racine = arbre.Ajoute(nullptr, "\\\\Sales", "Sales", "GCN=Sales,DC=x", "grp_sec_glo", true);
    Noeud* a = arbre.Ajoute(racine, "\\\\Sales\\jdupont", "Jean (jdupont)", "UCN=Jean,DC=x", "user");
    EXPECT_EQ(arbre.Node("\\\\Sales\\jdupont"), a);
    EXPECT_TRUE(arbre.NoeudExiste("\\\\Sales"));
    EXPECT_FALSE(arbre.NoeudExiste("\\\\sales"));
    EXPECT_EQ(a->DN(), "CN=Jean,DC=x");

    try {
        arbre.Ajoute(racine, "\\\\Sales\\jdupont", "Autre", "U", "user");
        FAIL() << "duplicate key accepted";
    } catch (const ErreurCleDupliquee& e) {
        EXPECT_EQ(e.number(), 35602);
        EXPECT_EQ(e.cle(), "\\\\Sales\\jdupont");
    }
    EXPECT_EQ(arbre.Count(), 2);
    EXPECT_EQ(racine->ChildCount(), 1);
    EXPECT_EQ(arbre.Node("\\\\Sales\\jdupont")->Text(), "Jean (jdupont)");
}

TEST(Arbre, sortedChildrenFollowCaseInsensitiveCollation) {
    Arbre arbre;
    arbre.setLocale(QLocale(QLocale::French, QLocale::France));
    Noeud* racine = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    const QStringList textes{"zoé", "Émile", "bernard", "Alice", "eric", "alain", "Zack", "édith", "Bruno"};
    for (const QString& t : textes)
        arbre.Ajoute(racine, "\\\\R\\" + t, t);
    EXPECT_EQ(textesEnfants(arbre, racine),
              QStringList({"alain", "Alice", "bernard", "Bruno", "édith", "Émile", "eric", "Zack", "zoé"}));
    for (int i = 0; i < racine->ChildCount(); ++i)
        EXPECT_EQ(racine->Child(i)->Row(), i);

    // Equal texts keep their insertion order; an unsorted parent keeps insertion order.
    Noeud* a = arbre.Ajoute(racine, "\\\\R\\alice2", "ALICE");
    EXPECT_EQ(a->Row(), 2);
    Noeud* brut = arbre.Ajoute(racine, "\\\\R\\brut", "brut");
    arbre.Ajoute(brut, "\\\\R\\brut\\b", "b");
    arbre.Ajoute(brut, "\\\\R\\brut\\a", "a");
    EXPECT_EQ(textesEnfants(arbre, brut), QStringList({"b", "a"}));
    arbre.ChangeTriEnfants(brut, true);
    EXPECT_EQ(textesEnfants(arbre, brut), QStringList({"a", "b"}));
}

TEST(Arbre, textChangeMovesOnlyThatNode) {
    Arbre arbre;
    Miroir miroir(arbre);
    Noeud* racine = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    for (const char* t : {"b", "d", "f", "h"})
        arbre.Ajoute(racine, QString("\\\\R\\") + t, t);
    std::vector<std::pair<int, int>> deplacements;
    QObject::connect(&arbre, &Arbre::nodeMoved, [&](Noeud*, int from, int to) {
        deplacements.push_back({from, to});
    });
    int changements = 0;
    QObject::connect(&arbre, &Arbre::nodeChanged, [&](Noeud*) { ++changements; });

    arbre.ChangeTexte(arbre.Node("\\\\R\\b"), "g");
    EXPECT_EQ(textesEnfants(arbre, racine), QStringList({"d", "f", "g", "h"}));
    arbre.ChangeTexte(arbre.Node("\\\\R\\h"), "a");
    EXPECT_EQ(textesEnfants(arbre, racine), QStringList({"a", "d", "f", "g"}));
    arbre.ChangeTexte(arbre.Node("\\\\R\\d"), "e"); // same place
    EXPECT_EQ(deplacements, (std::vector<std::pair<int, int>>{{0, 2}, {3, 0}}));
    EXPECT_EQ(changements, 3);
    miroir.verifie();
}

TEST(Arbre, memberCountsAdjustUpToTheRoot) {
    Arbre arbre;
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", arbre.FormateLibelle("R", 5), "O", "ou", true);
    Noeud* g = arbre.Ajoute(r, "\\\\R\\G", arbre.FormateLibelle("G", 2), "G", "grp_sec", true);
    Noeud* h = arbre.Ajoute(g, "\\\\R\\G\\H", arbre.FormateLibelle("H", 1), "G", "grp_sec", true);
    arbre.AjusteNombreMembres(h, 3);
    EXPECT_EQ(h->Text(), "H" + nbsp + "(4)");
    EXPECT_EQ(g->Text(), "G" + nbsp + "(5)");
    EXPECT_EQ(r->Text(), "R" + nbsp + "(8)");
    arbre.AjusteNombreMembres(g, -5);
    EXPECT_EQ(g->Text(), "G" + nbsp + "(0)");
    EXPECT_EQ(h->Text(), "H" + nbsp + "(4)");

    // Counts hidden: labels stay bare.
    arbre.setAfficherNombreMembres(false);
    Noeud* sans = arbre.Ajoute(r, "\\\\R\\S", arbre.FormateLibelle("S", 7), "G", "grp_sec", true);
    EXPECT_EQ(sans->Text(), "S");
    arbre.AjusteNombreMembres(sans, 2);
    EXPECT_EQ(sans->Text(), "S");
    EXPECT_EQ(r->Text(), "R");
}

TEST(Arbre, removingASubtreeForgetsItsKeysAndSelection) {
    Arbre arbre;
    Miroir miroir(arbre);
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    Noeud* g = arbre.Ajoute(r, "\\\\R\\G", "G", "G", "grp_sec", true);
    Noeud* u = arbre.Ajoute(g, "\\\\R\\G\\u", "u", "U", "user");
    arbre.Ajoute(r, "\\\\R\\H", "H", "G", "grp_sec", true);
    Noeud* selection = reinterpret_cast<Noeud*>(1);
    QObject::connect(&arbre, &Arbre::selectionChanged, [&](Noeud* n) { selection = n; });
    arbre.RendVisibleEtSelectionne(u);
    EXPECT_TRUE(r->Expanded());
    EXPECT_TRUE(g->Expanded());
    EXPECT_FALSE(u->Expanded());
    EXPECT_EQ(selection, u);
    EXPECT_EQ(arbre.SelectedItem(), u);

    arbre.Supprime(g);
    EXPECT_EQ(arbre.Count(), 2);
    EXPECT_FALSE(arbre.NoeudExiste("\\\\R\\G\\u"));
    EXPECT_EQ(arbre.SelectedItem(), nullptr);
    EXPECT_EQ(selection, nullptr);
    miroir.verifie();
    // The Key is free again.
    arbre.Ajoute(r, "\\\\R\\G", "G", "G", "grp_sec", true);
    miroir.verifie();

    arbre.Vide();
    EXPECT_TRUE(arbre.isEmpty());
    EXPECT_EQ(arbre.Racine(), nullptr);
    miroir.verifie();
}

TEST(Arbre, preOrderWalkFollowsDisplayOrder) {
    Arbre arbre;
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    Noeud* b = arbre.Ajoute(r, "\\\\R\\b", "b", "G", "", true);
    arbre.Ajoute(r, "\\\\R\\a", "a", "G", "", true);
    arbre.Ajoute(b, "\\\\R\\b\\y", "y");
    arbre.Ajoute(b, "\\\\R\\b\\x", "x");
    arbre.Ajoute(r, "\\\\R\\c", "c");
    EXPECT_EQ(parcours(arbre, nullptr), QStringList({"R", "a", "b", "x", "y", "c"}));
    EXPECT_EQ(parcours(arbre, b), QStringList({"b", "x", "y"}));
    EXPECT_EQ(parcours(arbre, nullptr, "x"), QStringList({"R", "a", "b", "x"}));
}

TEST(Arbre, notificationsDescribeEveryChange) {
    Arbre arbre;
    Miroir miroir(arbre);
    QRandomGenerator alea(42);
    std::vector<QString> cles;
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    cles.push_back(r->Key());
    for (int i = 0; i < 2000; ++i) {
        const int action = int(alea.bounded(10));
        Noeud* cible = arbre.Node(cles[std::size_t(alea.bounded(int(cles.size())))]);
        if (!cible)
            continue;
        if (action < 6) {
            const QString cle = cible->Key() + "\\" + QString::number(i);
            arbre.Ajoute(cible, cle, QString::number(alea.bounded(500)), "G", "", true);
            cles.push_back(cle);
        } else if (action < 9) {
            arbre.ChangeTexte(cible, QString::number(alea.bounded(500)));
        } else if (cible != r) {
            arbre.Supprime(cible);
        }
    }
    miroir.verifie();
    arbre.setNotificationsSuspended(true);
    arbre.Ajoute(r, "\\\\R\\pendant", "pendant");
    arbre.setNotificationsSuspended(false);
    miroir.verifie();
}

// 200,000 siblings inserted in random order: each lands at its sorted place, and rows, keys and
// neighbours stay consistent while half of them are removed again.
TEST(Arbre, largeSiblingListsStaySortedAndConsistent) {
    Arbre arbre;
    arbre.setLocale(QLocale(QLocale::English));
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", "R", "O", "ou", true);
    constexpr int N = 200000;
    QRandomGenerator alea(7);
    for (int i = 0; i < N; ++i) {
        const QString texte = QString::number(alea.bounded(1000000000u), 36);
        arbre.Ajoute(r, "\\\\R\\" + QString::number(i), texte);
    }
    ASSERT_EQ(r->ChildCount(), N);
    QCollator collation{QLocale(QLocale::English)};
    collation.setCaseSensitivity(Qt::CaseInsensitive);
    Noeud* precedent = nullptr;
    int row = 0;
    for (Noeud* n = r->FirstChild(); n; n = n->NextSibling(), ++row) {
        ASSERT_EQ(n->Row(), row);
        ASSERT_EQ(r->Child(row), n);
        if (precedent) {
            ASSERT_LE(collation.compare(precedent->Text(), n->Text()), 0);
        }
        precedent = n;
    }
    ASSERT_EQ(row, N);
    for (int i = 0; i < N; i += 2)
        arbre.Supprime(arbre.Node("\\\\R\\" + QString::number(i)));
    ASSERT_EQ(r->ChildCount(), N / 2);
    ASSERT_EQ(arbre.Count(), N / 2 + 1);
    for (int i = 0; i < N / 2; i += 997)
        ASSERT_EQ(r->Child(i)->Row(), i);
    EXPECT_EQ(r->LastChild()->PreviousSibling()->NextSibling(), r->LastChild());
}

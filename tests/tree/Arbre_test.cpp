#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QRandomGenerator>

#include <map>
#include <vector>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QString nbsp{QChar(NBSP)};

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
    // A count that is not numeric reads as its leading number, or 0; an account's expiry note
    // is no part of its name.
    const struct {
        QString libelle, nom;
        qint32 nombre;
    } cas[] = {
        {"Sales" + nbsp + "(12)", "Sales", 12},
        {"Sales", "Sales", 0},
        {"Sales" + nbsp + "(-3)", "Sales", -3},
        {"Sales" + nbsp + "(12abc)", "Sales", 12},
        {"Sales" + nbsp + "(abc)", "Sales", 0},
        {"Jean Dupont (jdupont)" + nbsp + "-> expirera le 01/02/2030", "Jean Dupont (jdupont)", 0},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(NomDuLibelle(c.libelle), c.nom) << c.libelle.toStdString();
        EXPECT_EQ(NombreDuLibelle(c.libelle), c.nombre) << c.libelle.toStdString();
    }
}

TEST(Arbre, keysAreUniqueAndIndexed) {
    Arbre arbre;
    Noeud* racine = arbre.Ajoute(nullptr, "\\\\Sales", "Sales", "GCN=Sales,DC=x", "grp_sec_glo", true);
    Noeud* a = arbre.Ajoute(racine, "\\\\Sales\\jdupont", "Jean (jdupont)", "UCN=Jean,DC=x", "user");
    EXPECT_EQ(arbre.Node("\\\\Sales\\jdupont"), a);
    EXPECT_FALSE(arbre.NoeudExiste("\\\\sales"));
    EXPECT_EQ(a->DN(), "CN=Jean,DC=x");
    EXPECT_THROW(arbre.Ajoute(racine, "\\\\Sales\\jdupont", "Autre", "U", "user"), ErreurCleDupliquee);
    EXPECT_EQ(arbre.Count(), 2);
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

TEST(Arbre, memberCountsAdjustUpToTheRootUnlessHidden) {
    Arbre arbre;
    Noeud* r = arbre.Ajoute(nullptr, "\\\\R", arbre.FormateLibelle("R", 5), "O", "ou", true);
    Noeud* g = arbre.Ajoute(r, "\\\\R\\G", arbre.FormateLibelle("G", 2), "G", "grp_sec", true);
    Noeud* h = arbre.Ajoute(g, "\\\\R\\G\\H", arbre.FormateLibelle("H", 1), "G", "grp_sec", true);
    arbre.AjusteNombreMembres(h, 3);
    EXPECT_EQ(QStringList({r->Text(), g->Text(), h->Text()}),
              QStringList({"R" + nbsp + "(8)", "G" + nbsp + "(5)", "H" + nbsp + "(4)"}));

    arbre.setAfficherNombreMembres(false);
    Noeud* sans = arbre.Ajoute(r, "\\\\R\\S", arbre.FormateLibelle("S", 7), "G", "grp_sec", true);
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
    EXPECT_TRUE(r->Expanded() && g->Expanded());
    EXPECT_EQ(selection, u);

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
    EXPECT_EQ(arbre.Racine(), nullptr);
    miroir.verifie();
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

// The index of instances follows every change of the tree, and gives them in display order
// whatever order they were added in.
TEST(Arbre, instancesFollowTagsRemovalsAndClearing) {
    Arbre arbre;
    Noeud* racine = arbre.Ajoute(nullptr, u"\\\\R"_s, u"R"_s, u"OR"_s, {}, true);
    Noeud* b = arbre.Ajoute(racine, u"\\\\R\\b"_s, u"b"_s, u"Gb"_s, {}, true);
    Noeud* a = arbre.Ajoute(racine, u"\\\\R\\a"_s, u"a"_s, u"Ga"_s, {}, true);
    Noeud* bSousA = arbre.Ajoute(a, u"\\\\R\\a\\b"_s, u"b"_s, u"Gb"_s);
    EXPECT_EQ(arbre.Instances(u"Gb"_s), (QList<Noeud*>{bSousA, b}));

    arbre.ChangeTag(b, u"Gc"_s);
    EXPECT_EQ(arbre.Instances(u"Gb"_s), QList<Noeud*>{bSousA});
    EXPECT_EQ(arbre.Instances(u"Gc"_s), QList<Noeud*>{b});

    arbre.Supprime(a);
    EXPECT_TRUE(arbre.Instances(u"Gb"_s).isEmpty());
    EXPECT_TRUE(arbre.Instances(u"Ga"_s).isEmpty());
    arbre.Vide();
    EXPECT_TRUE(arbre.Instances(u"Gc"_s).isEmpty());
}

#include "search/Memos.h"
#include "settings/Ini.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

// Saving and reading back are read end to end by the main window's restart test.

namespace {

const QChar RS{30};

QStringList Noms(const Memos& m) {
    QStringList noms;
    for (qsizetype i = 0; i < m.Nombre(); ++i)
        noms.append(m.EstSeparateur(i) ? QStringLiteral("---") : m.Element(i).nom);
    return noms;
}

Memos Charge(const QString& texte, qint16 maximum = 20) {
    Memos m;
    m.ChargeTexte(texte);
    m.FixeMaximumRecents(maximum);
    return m;
}

class MemosFichier : public ::testing::Test {
protected:
    QString Ini() const { return dossier.filePath(QStringLiteral("Arbrix.ini")); }
    QString Lit(const QString& cle) const {
        return LitIni(Ini(), QStringLiteral("Config"), cle, u"<absent>"_s);
    }
    QTemporaryDir dossier;
};

} // namespace

TEST(MemosChargement, SectionsEtPositionDuSeparateur) {
    Memos m = Charge(u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats"_s);
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"Paie"_s, u"Achats"_s}));
    EXPECT_EQ(m.Element(2).type, 1);
    // A pinned entry after the first recent one is recent.
    Memos seulementRecents = Charge(u"1|0|Paie"_s + RS + u"0|1|Tardif"_s);
    EXPECT_EQ(seulementRecents.PositionSeparateur(), Memos::SansSeparateurToutRecent);
    EXPECT_FALSE(seulementRecents.EstEpingle(1));

    // Unknown types stay as read; a name holding "|" keeps it; short entries are recent ones;
    // empty parts and empty names are skipped.
    m = Charge(u"  7|1|Sales|EMEA"_s + RS + RS + u"0|1|"_s + RS + u"0|Seul"_s + RS + u"Nu  "_s);
    EXPECT_EQ(Noms(m), (QStringList{u"Sales|EMEA"_s, u"---"_s, u"Seul"_s, u"Nu"_s}));
    EXPECT_EQ(m.Element(0).type, 7);
    EXPECT_EQ(m.Element(3).type, 1);
    EXPECT_EQ(Charge(u"99999999999|1|X"_s).Element(0).type, std::numeric_limits<qint32>::max());
}

TEST(MemosRecherche, DeplacementEtEpingles) {
    Memos m = Charge(u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats"_s);
    // A recent entry moves to the top of its section, as now typed.
    EXPECT_EQ(m.MemoriseRecherche(u"achats"_s, 0), 2);
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"achats"_s, u"Paie"_s}));
    // A pinned entry stays pinned, in place, as stored.
    EXPECT_EQ(m.MemoriseRecherche(u"COMPTA"_s, 1), 0);
    EXPECT_EQ(m.Element(0), (EntreeMemo{u"Compta"_s, 1}));
    EXPECT_EQ(m.MemoriseRecherche(u"ACHATS"_s, 1), 2);
    EXPECT_EQ(m.Element(2).nom, u"achats"_s) << "the first recent entry is left in place";

    Memos epingles = Charge(u"0|1|A"_s);
    epingles.MemoriseRecherche(u"B"_s, 1);
    EXPECT_EQ(Noms(epingles), (QStringList{u"A"_s, u"---"_s, u"B"_s}));
}

TEST(MemosRecherche, LimiteDesRecents) {
    Memos avecSeparateur = Charge(u"0|1|Épinglé"_s, 20);
    for (int i = 1; i <= 21; ++i)
        avecSeparateur.MemoriseRecherche(u"R"_s + QString::number(i), 1);
    EXPECT_EQ(avecSeparateur.Nombre(), 2 + 20);
    EXPECT_EQ(avecSeparateur.Elements().last().nom, u"R2"_s) << "the oldest recent entry goes";

    Memos negatif = Charge(u"0|1|A"_s + RS + u"0|1|B"_s, -5);
    negatif.MemoriseRecherche(u"C"_s, 1);
    EXPECT_EQ(Noms(negatif), (QStringList{u"A"_s, u"B"_s, u"---"_s})) << "pinned entries are never trimmed";

    Memos zero = Charge(u"1|0|R0"_s + RS + u"1|0|R1"_s, 0);
    zero.MemoriseRecherche(u"R2"_s, 1);
    EXPECT_EQ(Noms(zero), (QStringList{u"R2"_s}));
}

TEST(MemosSuppression, SeparateurIntouchableEtPosition) {
    Memos m = Charge(u"0|1|A"_s + RS + u"0|1|B"_s + RS + u"1|0|C"_s);
    EXPECT_FALSE(m.Supprime(2));
    EXPECT_FALSE(m.Supprime(7));
    EXPECT_TRUE(m.Supprime(0));
    EXPECT_EQ(m.PositionSeparateur(), 1);
    EXPECT_TRUE(m.Supprime(2));
    EXPECT_EQ(m.IndexApresSuppression(2), 1);
    EXPECT_EQ(m.SupprimeParNom(u"b"_s), 0);
    EXPECT_EQ(m.SupprimeParNom(SeparateurMemos()), -1);
    EXPECT_EQ(Noms(m), (QStringList{u"---"_s}));
}

// Candidates as typed, the arrow keys, the click and Escape are read in the main window test.
TEST(Completion, CandidatsEtSelection) {
    Memos m = Charge(u"0|1|Paie"_s + RS + u"1|0|Achats"_s + RS + u"1|0|COMPTA-PAIE"_s);
    Completion c;
    EXPECT_TRUE(c.TexteSaisi(m, u"-"_s));
    EXPECT_EQ(c.Candidats().value(0).nom, SeparateurMemos()) << "the separator line matches too";
    // A chosen candidate does not open the list again.
    c.NoteTexte(u"Paie"_s);
    EXPECT_FALSE(c.TexteSaisi(m, u"Paie"_s));
}

TEST(Completion, SuppressionDuCandidatSelectionne) {
    // Two entries differing only by case: the chosen one goes, not the first look-alike.
    Memos m = Charge(u"0|1|Paie"_s + RS + u"1|0|PAIE"_s + RS + u"1|0|Paie2"_s);
    Completion c;
    c.TexteSaisi(m, u"paie"_s);
    c.Survole(1);
    EXPECT_TRUE(c.SupprimeSelection(m));
    EXPECT_EQ(Noms(m), (QStringList{u"Paie"_s, u"---"_s, u"Paie2"_s}));
    EXPECT_EQ(c.CandidatSelectionne()->nom, u"Paie2"_s);
    EXPECT_TRUE(c.SupprimeSelection(m));
    EXPECT_EQ(c.CandidatSelectionne()->nom, u"Paie"_s) << "the last candidate is selected";

    c.TexteSaisi(m, u"- "_s);
    c.Descend();
    EXPECT_FALSE(c.SupprimeSelection(m)) << "the separator line stays";
}

TEST(RegleDesBoutons, TexteEtSeparateur) {
    EXPECT_FALSE(RechercheActivable(QString()));
    EXPECT_FALSE(RechercheActivable(SeparateurMemos()));
    EXPECT_TRUE(RechercheActivable(u"-"_s));
    EXPECT_EQ(HauteurCompletion(3, 16, -20), 0);
}

TEST_F(MemosFichier, ClesAnciennesLuesPuisEffacees) {
    ASSERT_TRUE(test::EcritFichier(Ini(), "[Config]\nNbMémos=3\nMémo0=x\nMémo1=0;1;Compta\nMémo2=1;0;Paie\n"
                                          "Mémo3=1;0;Achats;B\nMémo4=1;0;Gardé\n"));
    Memos m;
    m.Charge(Ini());
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"Paie"_s, u"Achats;B"_s}));
    m.Sauve(Ini());
    for (const char* cle : {"NbMémos", "Mémo0", "Mémo1", "Mémo3"})
        EXPECT_EQ(Lit(QString::fromUtf8(cle)), u"<absent>"_s) << cle;
    EXPECT_EQ(Lit(u"Mémo4"_s), u"1;0;Gardé"_s);
    EXPECT_EQ(Lit(u"Mémos"_s), u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats;B"_s);

    ASSERT_TRUE(test::EcritFichier(Ini(), "[Config]\nMémos=0|1|Neuf\nNbMémos=1\nMémo1=0;1;Ancien\n"));
    m.Charge(Ini());
    EXPECT_EQ(Noms(m), (QStringList{u"Neuf"_s})) << "legacy keys are read only when Mémos is empty";
}

// Found by the fuzzer: a name holding a line break (a command line may) cut the stored list there.
TEST_F(MemosFichier, UnSautDeLigneNeCoupePasLaListe) {
    Memos m = Charge(u"1|0|a"_s + RS + u"1|0|b"_s);
    m.MemoriseRecherche(u"Ventes\nFrance"_s, 1);
    m.Sauve(Ini());
    Memos relus;
    relus.Charge(Ini());
    EXPECT_EQ(Noms(relus), (QStringList{u"Ventes France"_s, u"a"_s, u"b"_s}));
}

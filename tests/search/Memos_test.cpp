#include "search/Memos.h"
#include "settings/Ini.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QChar RS{30};

QStringList Noms(const Mémos& m) {
    QStringList noms;
    for (qsizetype i = 0; i < m.Nombre(); ++i)
        noms.append(m.EstSéparateur(i) ? QStringLiteral("---") : m.Élément(i).nom);
    return noms;
}

Mémos Charge(const QString& texte, qint16 maximum = 20) {
    Mémos m;
    m.ChargeTexte(texte);
    m.FixeMaximumRécents(maximum);
    return m;
}

class MémosFichier : public ::testing::Test {
protected:
    QString Ini() const { return dossier.filePath(QStringLiteral("Arbrix.ini")); }
    void Écrit(const QByteArray& contenu) const {
        QFile f(Ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }
    QString Lit(const QString& clé) const {
        return LitIni(Ini(), QStringLiteral("Config"), clé, u"<absent>"_s);
    }
    QTemporaryDir dossier;
};

} // namespace

TEST(MémosChargement, SectionsEtPositionDuSéparateur) {
    Mémos m = Charge(u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats"_s);
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"Paie"_s, u"Achats"_s}));
    EXPECT_EQ(m.PositionSéparateur(), 1);
    EXPECT_TRUE(m.EstÉpinglé(0));
    EXPECT_FALSE(m.EstÉpinglé(2));
    EXPECT_EQ(m.Élément(0).type, 0);
    EXPECT_EQ(m.Élément(2).type, 1);

    Mémos seulementRécents = Charge(u"1|0|Paie"_s + RS + u"0|1|Tardif"_s);
    EXPECT_EQ(Noms(seulementRécents), (QStringList{u"Paie"_s, u"Tardif"_s}));
    EXPECT_EQ(seulementRécents.PositionSéparateur(), Mémos::SansSéparateurToutRécent);
    EXPECT_FALSE(seulementRécents.EstÉpinglé(1)) << "a pinned entry after the first recent one is recent";

    EXPECT_EQ(Charge(u"0|1|A"_s + RS + u"0|1|B"_s).PositionSéparateur(), Mémos::SansSéparateurToutÉpinglé);
    EXPECT_EQ(Charge(QString()).PositionSéparateur(), Mémos::SansSéparateurToutÉpinglé);
}

TEST(MémosChargement, ChampsInhabituels) {
    // Unknown types stay as read; a name holding "|" keeps it; short entries are recent ones;
    // empty parts and empty names are skipped.
    Mémos m = Charge(u"  7|1|Sales|EMEA"_s + RS + RS + u"0|1|"_s + RS + u"0|Seul"_s + RS + u"Nu  "_s);
    EXPECT_EQ(Noms(m), (QStringList{u"Sales|EMEA"_s, u"---"_s, u"Seul"_s, u"Nu"_s}));
    EXPECT_EQ(m.Élément(0).type, 7);
    EXPECT_EQ(m.Élément(2).type, 0);
    EXPECT_EQ(m.Élément(3).type, 1);
    EXPECT_EQ(Charge(u"99999999999|1|X"_s).Élément(0).type, std::numeric_limits<qint32>::max());
}

TEST(MémosRecherche, PremièreRechercheSurListeVidePuisAllerRetour) {
    Mémos m;
    EXPECT_EQ(m.MémoriseRecherche(u"Paie"_s, 1), 1);
    EXPECT_EQ(Noms(m), (QStringList{u"---"_s, u"Paie"_s}));
    EXPECT_EQ(m.PositionSéparateur(), 0);

    Mémos relu = Charge(m.TexteSauvegarde());
    EXPECT_EQ(Noms(relu), (QStringList{u"Paie"_s}));
    EXPECT_EQ(relu.PositionSéparateur(), Mémos::SansSéparateurToutRécent);
}

TEST(MémosRecherche, DéplacementEtÉpinglés) {
    Mémos m = Charge(u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats"_s);

    EXPECT_EQ(m.MémoriseRecherche(u"achats"_s, 0), 2);
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"achats"_s, u"Paie"_s}))
        << "a recent entry moves to the top of its section, as now typed";
    EXPECT_EQ(m.Élément(2).type, 0);

    EXPECT_EQ(m.MémoriseRecherche(u"COMPTA"_s, 1), 0);
    EXPECT_EQ(m.Élément(0), (EntréeMémo{u"Compta"_s, 1}))
        << "a pinned entry stays pinned, in place, as stored";

    EXPECT_EQ(m.MémoriseRecherche(u"ACHATS"_s, 1), 2);
    EXPECT_EQ(m.Élément(2).nom, u"achats"_s) << "the first recent entry is left in place";

    EXPECT_EQ(m.MémoriseRecherche(u"Ventes"_s, 1), 2);
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"Ventes"_s, u"achats"_s, u"Paie"_s}));

    Mémos épinglés = Charge(u"0|1|A"_s);
    épinglés.MémoriseRecherche(u"B"_s, 1);
    EXPECT_EQ(Noms(épinglés), (QStringList{u"A"_s, u"---"_s, u"B"_s}));
    EXPECT_EQ(épinglés.PositionSéparateur(), 1);
}

TEST(MémosRecherche, LimiteDesRécents) {
    Mémos avecSéparateur = Charge(u"0|1|Épinglé"_s, 20);
    for (int i = 1; i <= 21; ++i)
        avecSéparateur.MémoriseRecherche(u"R"_s + QString::number(i), 1);
    EXPECT_EQ(avecSéparateur.Nombre(), 2 + 20);
    EXPECT_EQ(avecSéparateur.Éléments().last().nom, u"R2"_s) << "the oldest recent entry goes";

    Mémos sansSéparateur = Charge(u"1|0|R0"_s, 20);
    for (int i = 1; i <= 25; ++i)
        sansSéparateur.MémoriseRecherche(u"R"_s + QString::number(i), 1);
    EXPECT_EQ(sansSéparateur.Nombre(), 21);

    Mémos négatif = Charge(u"0|1|A"_s + RS + u"0|1|B"_s, -5);
    négatif.MémoriseRecherche(u"C"_s, 1);
    EXPECT_EQ(Noms(négatif), (QStringList{u"A"_s, u"B"_s, u"---"_s}))
        << "a negative N never trims pinned entries";

    Mémos zéro = Charge(u"1|0|R0"_s + RS + u"1|0|R1"_s, 0);
    zéro.MémoriseRecherche(u"R2"_s, 1);
    EXPECT_EQ(Noms(zéro), (QStringList{u"R2"_s}));
}

TEST(MémosSuppression, SéparateurIntouchableEtPosition) {
    Mémos m = Charge(u"0|1|A"_s + RS + u"0|1|B"_s + RS + u"1|0|C"_s);
    EXPECT_FALSE(m.Supprime(2));
    EXPECT_FALSE(m.Supprime(7));
    EXPECT_TRUE(m.Supprime(0));
    EXPECT_EQ(Noms(m), (QStringList{u"B"_s, u"---"_s, u"C"_s}));
    EXPECT_EQ(m.PositionSéparateur(), 1);
    EXPECT_TRUE(m.Supprime(2));
    EXPECT_EQ(m.IndexAprèsSuppression(2), 1);
    EXPECT_EQ(m.PositionSéparateur(), 1);
    EXPECT_EQ(m.SupprimeParNom(u"b"_s), 0);
    EXPECT_EQ(m.SupprimeParNom(SéparateurMémos()), -1);
    EXPECT_EQ(m.IndexAprèsSuppression(0), 0);
    EXPECT_EQ(Noms(m), (QStringList{u"---"_s}));
}

TEST(MémosÉdition, ListeAvecSéparateurExplicite) {
    const EntréeMémo sép{SéparateurMémos(), 0};
    EXPECT_EQ(Charge(u"0|1|A"_s).ListeÉdition(), (QList<EntréeMémo>{{u"A"_s, 0}, sép}));
    EXPECT_EQ(Charge(u"1|0|A"_s).ListeÉdition(), (QList<EntréeMémo>{sép, {u"A"_s, 1}}));

    Mémos m = Charge(QString(), 1);
    m.AppliqueListeÉdition({{u"A"_s, 0}, sép, {u"B"_s, 1}, sép, {u"C"_s, 1}});
    EXPECT_EQ(Noms(m), (QStringList{u"A"_s, u"---"_s, u"B"_s}))
        << "extra separators dropped, recent trimmed to N";
    EXPECT_EQ(m.PositionSéparateur(), 1);

    m.AppliqueListeÉdition({sép, {u"B"_s, 1}});
    EXPECT_EQ(m.PositionSéparateur(), 0);
    EXPECT_FALSE(m.EstÉpinglé(1));
}

TEST(Complétion, CandidatsEtSélection) {
    Mémos m = Charge(u"0|1|Paie"_s + RS + u"1|0|Achats"_s + RS + u"1|0|COMPTA-PAIE"_s);
    Complétion c;
    EXPECT_TRUE(c.TexteSaisi(m, u"pa"_s));
    ASSERT_EQ(c.Candidats().size(), 2);
    EXPECT_EQ(c.Candidats()[0].nom, u"Paie"_s);
    EXPECT_EQ(c.Candidats()[1].type, 1);
    EXPECT_EQ(c.Sélection(), -1);
    EXPECT_FALSE(c.TexteSaisi(m, u"pa"_s)) << "same text: nothing recomputed";

    EXPECT_FALSE(c.Monte());
    EXPECT_TRUE(c.Descend());
    EXPECT_TRUE(c.Descend());
    EXPECT_FALSE(c.Descend());
    EXPECT_EQ(c.CandidatSélectionné()->nom, u"COMPTA-PAIE"_s);
    EXPECT_FALSE(c.Survole(5));

    EXPECT_TRUE(c.TexteSaisi(m, u"-"_s));
    ASSERT_EQ(c.Candidats().size(), 2) << "the separator line matches too";
    EXPECT_EQ(c.Candidats()[0].nom, SéparateurMémos());

    EXPECT_TRUE(c.TexteSaisi(m, u"zzz"_s));
    EXPECT_TRUE(c.EstVide());
    EXPECT_TRUE(c.TexteSaisi(m, QString()));
    EXPECT_TRUE(c.EstVide());

    c.NoteTexte(u"Paie"_s);
    EXPECT_FALSE(c.TexteSaisi(m, u"Paie"_s));
}

TEST(Complétion, SuppressionDuCandidatSélectionné) {
    // Two entries differing only by case: the chosen one goes, not the first look-alike.
    Mémos m = Charge(u"0|1|Paie"_s + RS + u"1|0|PAIE"_s + RS + u"1|0|Paie2"_s);
    Complétion c;
    c.TexteSaisi(m, u"paie"_s);
    ASSERT_EQ(c.Candidats().size(), 3);
    c.Survole(1);
    EXPECT_TRUE(c.SupprimeSélection(m));
    EXPECT_EQ(Noms(m), (QStringList{u"Paie"_s, u"---"_s, u"Paie2"_s}));
    EXPECT_EQ(c.CandidatSélectionné()->nom, u"Paie2"_s);
    EXPECT_TRUE(c.SupprimeSélection(m));
    EXPECT_EQ(c.CandidatSélectionné()->nom, u"Paie"_s) << "the last candidate is selected";
    EXPECT_TRUE(c.SupprimeSélection(m));
    EXPECT_TRUE(c.EstVide());
    EXPECT_EQ(Noms(m), (QStringList{u"---"_s}));

    c.TexteSaisi(m, u"- "_s);
    c.Descend();
    EXPECT_FALSE(c.SupprimeSélection(m));
    EXPECT_EQ(m.Nombre(), 1);
}

TEST(RègleDesBoutons, TexteEtSéparateur) {
    EXPECT_EQ(SéparateurMémos().size(), 600);
    EXPECT_FALSE(RechercheActivable(QString()));
    EXPECT_FALSE(RechercheActivable(SéparateurMémos()));
    EXPECT_TRUE(RechercheActivable(u"-"_s));
    EXPECT_EQ(HauteurComplétion(3, 16, 500), 50);
    EXPECT_EQ(HauteurComplétion(100, 16, 500), 500);
    EXPECT_EQ(HauteurComplétion(3, 16, -20), 0);
}

TEST_F(MémosFichier, AllerRetourParLeFichier) {
    Écrit("; garde-moi\n[Config]\nLangue=English\n");
    Mémos m;
    m.Charge(Ini());
    EXPECT_EQ(m.MaximumRécents(), 20);
    EXPECT_TRUE(m.EstVide());
    m.MémoriseRecherche(u"Ventes Sud"_s, 0);
    m.MémoriseRecherche(u"Paie|Ouest"_s, 1);
    m.FixeMaximumRécents(7);
    m.Sauve(Ini());

    Mémos relu;
    relu.Charge(Ini());
    EXPECT_EQ(Noms(relu), (QStringList{u"Paie|Ouest"_s, u"Ventes Sud"_s}));
    EXPECT_EQ(relu.Élément(1).type, 0);
    EXPECT_EQ(relu.MaximumRécents(), 7);
    EXPECT_EQ(Lit(u"Langue"_s), u"English"_s);
    QFile f(Ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("; garde-moi\n"));
}

TEST_F(MémosFichier, ClésAnciennesLuesPuisEffacées) {
    Écrit("[Config]\nNbMémos=3\nMémo0=x\nMémo1=0;1;Compta\nMémo2=1;0;Paie\nMémo3=1;0;Achats;B\nMémo4=1;0;"
          "Gardé\n"
          "Autre=1\n");
    Mémos m;
    m.Charge(Ini());
    EXPECT_EQ(Noms(m), (QStringList{u"Compta"_s, u"---"_s, u"Paie"_s, u"Achats;B"_s}));
    m.Sauve(Ini());
    for (const char* clé : {"NbMémos", "Mémo0", "Mémo1", "Mémo2", "Mémo3"})
        EXPECT_EQ(Lit(QString::fromUtf8(clé)), u"<absent>"_s) << clé;
    EXPECT_EQ(Lit(u"Mémo4"_s), u"1;0;Gardé"_s);
    EXPECT_EQ(Lit(u"Autre"_s), u"1"_s);
    EXPECT_EQ(Lit(u"Mémos"_s), u"0|1|Compta"_s + RS + u"1|0|Paie"_s + RS + u"1|0|Achats;B"_s);

    Écrit("[Config]\nMémos=0|1|Neuf\nNbMémos=1\nMémo1=0;1;Ancien\n");
    m.Charge(Ini());
    EXPECT_EQ(Noms(m), (QStringList{u"Neuf"_s})) << "legacy keys are read only when Mémos is empty";
}

#include "export/Export.h"
#include "export/ExportStructure.h"
#include "export/LecteurCsv.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace arbrix;

namespace {

const QString NB = QString(QChar(0xA0));

// An O.U. whose name holds a comma, a group with quotes and "(3)" in its name, a disabled user
// whose name holds a line break and who is in two groups, a Greek name with its expiry note, a
// contact, a group that holds itself, and a computer right under the O.U.
class ExportStructureTest : public ::testing::Test {
protected:
    void SetUp() override {
        racine = Ajoute(nullptr, "\\\\Direction, Nord", "Direction, Nord" + NB + "(4)", ou, "ou");
        projet = Ajoute(racine, "\\\\Direction, Nord\\Projet", "Projet \"Alpha\" (3)" + NB + "(3)",
                        "G" + dnProjet, "grp_sec_glo");
        Ajoute(projet, "\\\\Direction, Nord\\Projet\\jdupont", "Jean\nDupont (jdupont)", "U" + dnJean,
               "user_ina");
        Ajoute(projet, "\\\\Direction, Nord\\Projet\\osigma",
               "Ωμέγα Σίγμα (osigma)" + NB + "-> expiré depuis le 01/01/2024", "UCN=Ωμέγα Σίγμα," + ou.mid(1),
               "user_exp");
        Ajoute(projet, "\\\\Direction, Nord\\Projet\\Lyon", "Contact (Lyon)",
               "KCN=Contact (Lyon)," + ou.mid(1), "contact");
        equipe = Ajoute(racine, "\\\\Direction, Nord\\Equipe", "Équipe (3)" + NB + "(2)", "G" + dnEquipe,
                        "grp_dis_uni");
        Ajoute(equipe, "\\\\Direction, Nord\\Equipe\\jdupont", "Jean\nDupont (jdupont)", "U" + dnJean,
               "user_ina");
        Ajoute(equipe, "\\\\Direction, Nord\\Equipe\\Equipe", "Équipe (3)", "G" + dnEquipe, "grp_dis_rec");
        Ajoute(racine, "\\\\Direction, Nord\\pc01$", "PC01 (pc01$)", "CCN=PC01," + ou.mid(1), "comp");
    }

    Noeud* Ajoute(Noeud* parent, const QString& cle, const QString& texte, const QString& tag,
                  const QString& image) {
        return arbre.Ajoute(parent, cle, texte, tag, image, false);
    }

    const QString ou = QStringLiteral("OOU=Direction\\, Nord,DC=ex,DC=test");
    const QString dnProjet = QStringLiteral("CN=Projet \"Alpha\" (3),") + ou.mid(1);
    const QString dnEquipe = QStringLiteral("CN=Équipe (3),") + ou.mid(1);
    const QString dnJean = QStringLiteral("CN=Jean\\0ADupont,") + ou.mid(1);
    Arbre arbre;
    OptionsExport options;
    Noeud* racine = nullptr;
    Noeud* projet = nullptr;
    Noeud* equipe = nullptr;
};

TEST_F(ExportStructureTest, CsvReadsBackAsOneRowPerMemberAndPlace) {
    const QString direction = QStringLiteral("Direction, Nord");
    const QString dnOu = ou.mid(1);
    const QString nomProjet = QStringLiteral("Projet \"Alpha\" (3)");
    const QString cheminProjet = direction + " > " + nomProjet;
    const QList<QStringList> attendu = {
        QString::fromLatin1(EnTeteCsv).split(u','),
        {nomProjet, dnProjet, "group", "", direction, dnOu, direction},
        {"Jean\nDupont", dnJean, "user", "disabled", nomProjet, dnProjet, cheminProjet},
        {"Ωμέγα Σίγμα", "CN=Ωμέγα Σίγμα," + dnOu, "user", "expired", nomProjet, dnProjet, cheminProjet},
        {"Contact (Lyon)", "CN=Contact (Lyon)," + dnOu, "contact", "", nomProjet, dnProjet, cheminProjet},
        {"Équipe (3)", dnEquipe, "group", "", direction, dnOu, direction},
        {"Jean\nDupont", dnJean, "user", "disabled", "Équipe (3)", dnEquipe, direction + " > Équipe (3)"},
        {"Équipe (3)", dnEquipe, "group", "loop", "Équipe (3)", dnEquipe, direction + " > Équipe (3)"},
        {"PC01", "CN=PC01," + dnOu, "computer", "", direction, dnOu, direction},
    };
    for (const qint16 fin : {FinLigneExport::CrLf, FinLigneExport::Lf}) {
        SCOPED_TRACE(fin);
        options.FinLigne = fin;
        const QString csv = GenereCsv(*racine, options);
        EXPECT_EQ(test::LitCsv(csv), attendu);
        // Records end as chosen, the last one too; the line break inside a name is the name's.
        EXPECT_EQ(csv.count(QStringLiteral("\r\n")), fin == FinLigneExport::CrLf ? attendu.size() : 0);
        EXPECT_EQ(csv.count(u'\n'), attendu.size() + 2);
        EXPECT_TRUE(csv.endsWith(u'\n'));
    }
}

// The extent and the kinds of members are the text export's; the preview is the first lines.
TEST_F(ExportStructureTest, CsvFollowsTheExportOptions) {
    const auto membres = [&](int lignesMax = 0) {
        QStringList noms;
        for (const QStringList& ligne : test::LitCsv(GenereCsv(*racine, options, lignesMax)).mid(1))
            noms << ligne.value(0);
        return noms;
    };
    options.ComptesUtilisateurs = false;
    options.AutresMembres = false;
    EXPECT_EQ(membres(), (QStringList{"Projet \"Alpha\" (3)", "Équipe (3)", "Équipe (3)", "PC01"}));
    options.Etendue = EtendueExport::NoeudSeul;
    EXPECT_EQ(membres(), (QStringList{"Projet \"Alpha\" (3)", "Équipe (3)", "PC01"}));
    options = {};
    EXPECT_EQ(membres(3), (QStringList{"Projet \"Alpha\" (3)", "Jean\nDupont"}));
}

TEST_F(ExportStructureTest, JsonHoldsTheTreeWithNamesBeforeChildren) {
    const QString texte = GenereJson(*racine, options);
    QJsonParseError erreur;
    const QJsonObject json = QJsonDocument::fromJson(texte.toUtf8(), &erreur).object();
    ASSERT_EQ(erreur.error, QJsonParseError::NoError) << erreur.errorString().toStdString();
    EXPECT_LT(texte.indexOf(u"\"name\""), texte.indexOf(u"\"children\""));

    EXPECT_EQ(json["name"].toString(), "Direction, Nord");
    EXPECT_EQ(json["dn"].toString(), ou.mid(1));
    EXPECT_EQ(json["kind"].toString(), "ou");
    EXPECT_EQ(json["count"].toInt(), 4);
    const QJsonArray enfants = json["children"].toArray();
    ASSERT_EQ(enfants.size(), 3);
    const QJsonObject groupe = enfants[0].toObject();
    EXPECT_EQ(groupe["name"].toString(), "Projet \"Alpha\" (3)");
    EXPECT_EQ(groupe["kind"].toString(), "group");
    EXPECT_EQ(groupe["count"].toInt(), 3);
    const QJsonObject jean = groupe["children"].toArray()[0].toObject();
    EXPECT_EQ(jean["name"].toString(), "Jean\nDupont");
    EXPECT_EQ(jean["dn"].toString(), dnJean);
    EXPECT_EQ(jean["state"].toString(), "disabled");
    EXPECT_FALSE(jean.contains("count") || jean.contains("children"));
    EXPECT_EQ(groupe["children"].toArray()[2].toObject()["kind"].toString(), "contact");
    // A group met again inside itself: no count on its label, nothing under it.
    const QJsonObject boucle = enfants[1].toObject()["children"].toArray()[1].toObject();
    EXPECT_EQ(boucle["state"].toString(), "loop");
    EXPECT_TRUE(boucle["count"].isNull());
    EXPECT_EQ(boucle["children"].toArray().size(), 0);
    EXPECT_EQ(enfants[2].toObject()["kind"].toString(), "computer");

    // The preview is the document's first lines; the type chooses the generator.
    options.Type = TypeExport::Json;
    const QStringList lignes = texte.split(u'\n');
    EXPECT_EQ(GenereExportSelonType(*racine, options, true),
              QStringList(lignes.mid(0, LignesApercuMax)).join(u'\n') + u'\n');
}

} // namespace

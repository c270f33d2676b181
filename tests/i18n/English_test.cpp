#include "cli/TextesCli.h"
#include "i18n/CatalogueFrancais.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

using namespace arbrix;
using namespace Qt::StringLiterals;
namespace {

const QString Dossier = QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/");
const QString Fichier = Dossier + "English.lng";
const QString Absent = QStringLiteral("\x01absent");

// Texts that read the same in both languages.
const QStringList Identiques = {
    "TXT_SUCCES",      "TXT_RESULTAT_DETAIL",   "TXT_OU",           "COL_DESCRIPTION",
    "COL_TYPE",        "COL_DISTINGUISHEDNAME", "TXT_LEGENDE_ETAT", "TXT_CONTACT",
    "TXT_SID_S_1_5_6", "TXT_SID_S_1_5_8"};

// The accelerator letters of a caption ("&&" is a plain ampersand).
qsizetype NombreAccelerateurs(const QString& texte) {
    return QString(texte).remove("&&").count(u'&');
}

TEST(EnglishTest, IsChosenOnAnEnglishSystem) {
    EXPECT_EQ(ChoisitLangueInitiale(9, Dossier).langue, "English");
}

TEST(EnglishTest, TranslatesEveryTextOfTheCatalogueAndOfTheCommandLine) {
    ChargeTraductions(QString());
    QList<TexteParDefaut> textes = TextesParDefaut();
    for (const QString& cle : ClesTexteCli())
        textes.append({cle, TexteCli(cle)});
    for (const auto& [cle, francais] : textes) {
        const QString anglais = LitTraduction(Fichier, cle, Absent);
        ASSERT_NE(anglais, Absent) << qPrintable(cle) << " is missing";
        EXPECT_FALSE(anglais.trimmed().isEmpty()) << qPrintable(cle);
        if (!Identiques.contains(cle)) {
            EXPECT_NE(anglais, AppliqueSautsDeLigne(francais)) << qPrintable(cle) << " is still French";
        }
        // Messages are filled in order: the same number of placeholders, or values go missing.
        EXPECT_EQ(anglais.count("%v", Qt::CaseInsensitive), francais.count("%v", Qt::CaseInsensitive))
            << qPrintable(cle);
        EXPECT_EQ(NombreAccelerateurs(anglais) > 0, NombreAccelerateurs(francais) > 0) << qPrintable(cle);
        EXPECT_LE(NombreAccelerateurs(anglais), 1) << qPrintable(cle);
    }
    // The help is a block: nothing at its end is lost.
    EXPECT_TRUE(
        LitTraduction(Fichier, CleTexteCli::Aide, Absent).endsWith("     listed on standard output)\n"));
}

} // namespace

// The window texts share one name space: a name used by two windows gives the second the first
// one's text (the export's type once read "Search", "O.U.", "Group").
TEST(EnglishTest, EveryKeyIsGivenOnce) {
    QFile f(Fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QSet<QString> vues;
    for (const QString& ligne : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (ligne.startsWith(u"<TXT_CLI_AIDE>"))
            break;
        const qsizetype egal = ligne.indexOf(u'=');
        if (ligne.startsWith(u';') || egal <= 0)
            continue;
        const QString cle = ligne.left(egal);
        EXPECT_FALSE(vues.contains(cle)) << qPrintable(cle) << " is given twice";
        vues.insert(cle);
    }
}

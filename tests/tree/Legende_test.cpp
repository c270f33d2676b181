#include "i18n/Traductions.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/EtatCompte.h"
#include "tree/Legende.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

class LegendeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Catalogue().Vide();
        ChargeTraductions(QString());
    }
};

TEST_F(LegendeTest, TooltipsSayKindScopeStateAndDn) {
    const QDateTime date(QDate(2020, 1, 1), QTime(0, 0));
    const QString expire = NoteExpiration(date, true);
    const QString expirera = NoteExpiration(date.addYears(80), false);
    const struct {
        QString texte, image, attendu;
    } cas[] = {
        {u"Ventes (12)"_s, u"grp_sec_glo"_s, u"Groupe de sécurité - Global"_s},
        {u"PC-VENTES-07 (pc-ventes-07$)"_s, u"comp_ina"_s, u"Compte ordinateur, désactivé"_s},
        {u"Julie Bernard (jbernard)"_s + expire, u"user_exp"_s,
         u"Compte utilisateur, expiré depuis le "_s + TexteDateCourte(date)},
        {u"Hélène Dupré (hdupre)"_s + expirera, u"user"_s,
         u"Compte utilisateur, expirera le "_s + TexteDateCourte(date.addYears(80))},
        // A label that merely holds an arrow is no expiry.
        {u"A -> B (ab)"_s, u"svce"_s, u"Compte de service (MSA ou gMSA)"_s},
        {u"Dupont & Fils"_s, u"?"_s, {}},
    };
    Arbre arbre;
    int i = 0;
    for (const auto& c : cas) {
        const QString dn = u"CN=X"_s + QString::number(++i) + u",DC=velmora,DC=test"_s;
        const Noeud* n = arbre.Ajoute(nullptr, QString::number(i), c.texte, u'G' + dn, c.image);
        const QString attendu = c.attendu.isEmpty() ? dn : c.attendu + u'\n' + dn;
        EXPECT_EQ(InfoBulleNoeud(*n), attendu) << c.texte.toStdString();
    }
}

TEST_F(LegendeTest, EveryLegendIconHasATextAndDragVariantsNone) {
    for (const QString& cle : ClesLegende())
        EXPECT_FALSE(TexteImage(cle).isEmpty()) << cle.toStdString();
    EXPECT_TRUE(TexteImage(u"user_cop"_s).isEmpty());
    EXPECT_TRUE(TexteImage(u"?"_s).isEmpty());
}

// Every group image the tree can show is in the legend, and each language names the kinds the
// same way throughout: the type column's words, a scope after a dash.
TEST_F(LegendeTest, EveryGroupKeyIsListedInOneWording) {
    for (const qint32 type : {qint32(0x80000000u), 0})
        for (const qint32 etendue : {0, 2, 4, 8})
            for (const bool recursif : {false, true})
                EXPECT_TRUE(ClesLegende().contains(CleTypeGroupe(type | etendue, recursif)))
                    << CleTypeGroupe(type | etendue, recursif).toStdString();
    for (const QString& langue : {QString(), QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng")}) {
        ChargeTraductions(langue);
        const QString securite = Traduction(u"TXT_GRP_SEC_GLO").section(u" - "_s, 0, 0);
        const QString distribution = Traduction(u"TXT_GRP_DIS_GLO").section(u" - "_s, 0, 0);
        for (const QString& cle : ClesLegende()) {
            if (!cle.startsWith(u"grp_"))
                continue;
            const QString texte = TexteImage(cle);
            EXPECT_TRUE(texte.startsWith(cle.startsWith(u"grp_sec") ? securite : distribution))
                << texte.toStdString();
            if (!cle.endsWith(u"_rec")) {
                EXPECT_TRUE(texte.contains(u" - "_s)) << texte.toStdString();
            }
        }
    }
}

} // namespace

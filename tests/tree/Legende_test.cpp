#include "i18n/Traductions.h"
#include "tree/Arbre.h"
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
        {u"Boucle A"_s, u"grp_dis_rec"_s, Traduction(u"TXT_GRP_DIS_REC")},
        {u"Ancien"_s, u"grp_sec"_s, u"Groupe de sécurité"_s},
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

} // namespace

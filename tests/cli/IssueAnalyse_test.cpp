#include "cli/InteractionTerminal.h"
#include "cli/IssueAnalyse.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

QString Message(const char16_t* clé, const QVariantList& valeurs = {}) {
    return FormateMessage(Traduction(clé), valeurs);
}

TEST(TexteTerminal, EndsWithOneLineFeedAndHasNoCarriageReturn) {
    EXPECT_EQ(TexteTerminal(QStringLiteral("a\r\n\r\nb\rc\r\n")), QStringLiteral("a\n\nb\nc\n"));
    EXPECT_EQ(TexteTerminal(QStringLiteral("a")), QStringLiteral("a\n"));
    EXPECT_EQ(TexteTerminal(QString()), QStringLiteral("\n"));
}

TEST(LigneCandidat, KeepsThreeTabSeparatedFieldsOnOneLine) {
    clsOccurrence o;
    o.Nom = QStringLiteral("Sales\t(EMEA)");
    o.TypeObjetEnTexte = QStringLiteral("O.U.");
    o.DistinguishedName = QStringLiteral("OU=Sales\n(EMEA),DC=x");
    EXPECT_EQ(LigneCandidat(o), QStringLiteral("Sales (EMEA)\tO.U.\tOU=Sales (EMEA),DC=x"));
}

TEST(EstMessage, MatchesTheCatalogueTextWithAnyValues) {
    EXPECT_TRUE(EstMessageIntrouvable(Message(u"MSG_ERREUR_GROUPE_INCONNU", {"Nulle part"})));
    EXPECT_TRUE(EstMessageIntrouvable(Message(u"MSG_ERREUR_OU_INCONNUE", {"It's (odd) [*]"})));
    EXPECT_TRUE(EstMessageIntrouvable(Message(u"MSG_ERREUR_OU_GROUPE_INCONNU", {"a\r\nb"})));
    EXPECT_TRUE(EstMessageIntrouvable(Message(u"MSG_ERREUR_ELEMENT_NON_TROUVE")));
    EXPECT_TRUE(EstMessageIntrouvable(Message(u"MSG_ERREUR", {2220, "introuvable"})));
    EXPECT_FALSE(EstMessageIntrouvable(Message(u"MSG_ERREUR", {22201, "autre"})));
    EXPECT_FALSE(EstMessageIntrouvable(Message(u"MSG_ERREUR", {-2147217911, "refus"})));
    EXPECT_FALSE(EstMessageIntrouvable(Message(u"MSG_ERREUR_DROITS_AD")));
    EXPECT_FALSE(EstMessageIntrouvable(QStringLiteral("Le groupe")));
    EXPECT_TRUE(EstMessageRécursivité(Message(u"MSG_ERREUR_RECURSIVITE", {"\r\n\r\n\tBoucle A\r\n\r\n"})));
    EXPECT_FALSE(EstMessageRécursivité(Message(u"MSG_ERREUR_DROITS_AD")));
}

class IssueTest : public ::testing::Test {
protected:
    void Affiche(const QString& texte, IcôneMessage icône = IcôneMessage::Exclamation) {
        interaction.Message(texte, icône, BoutonsMessage::Ok, RéponseMessage::Ok, {});
    }
    void Construit() {
        arbre.Ajoute(nullptr, QStringLiteral("\\\\G"), QStringLiteral("G"), QStringLiteral("GCN=G"));
    }
    IssueAnalyse Issue() const { return IssueDeLAnalyse(arbre, interaction); }

    QString erreurs;
    QTextStream flux{&erreurs};
    InteractionTerminal interaction{flux};
    Arbre arbre;
};

TEST_F(IssueTest, ATreeWithoutErrorIsSuccessEvenWithARecursionReport) {
    Construit();
    EXPECT_EQ(Issue(), IssueAnalyse::Arborescence);
    Affiche(Message(u"MSG_ERREUR_RECURSIVITE", {"\r\n\tBoucle A\r\n"}), IcôneMessage::Critique);
    EXPECT_EQ(Issue(), IssueAnalyse::Arborescence);
    EXPECT_EQ(CodeSortie(Issue()), 0);
    EXPECT_TRUE(erreurs.contains(u"\tBoucle A\n"));
    EXPECT_FALSE(erreurs.contains(u'\r'));
}

TEST_F(IssueTest, NothingFoundOrSeveralGiveTwo) {
    Affiche(Message(u"MSG_ERREUR_GROUPE_INCONNU", {"X"}));
    EXPECT_EQ(CodeSortie(Issue()), 2);

    InteractionTerminal autre(flux);
    const std::optional<int> choix = autre.ChoisitOccurrence({clsOccurrence{}, clsOccurrence{}});
    EXPECT_FALSE(choix);
    EXPECT_EQ(IssueDeLAnalyse(arbre, autre), IssueAnalyse::AucunOuPlusieurs);
    EXPECT_EQ(autre.Candidats().size(), 2);
}

TEST_F(IssueTest, OtherErrorsGiveOne) {
    Affiche(Message(u"MSG_ERREUR_DROITS_AD"), IcôneMessage::Critique);
    EXPECT_EQ(CodeSortie(Issue()), 1);
}

TEST_F(IssueTest, AnErrorAfterAPartialBuildIsAnError) {
    Construit();
    Affiche(Message(u"MSG_ERREUR", {-2147016656, "noSuchObject"}));
    EXPECT_EQ(Issue(), IssueAnalyse::Erreur);
}

TEST_F(IssueTest, AnEmptyTreeWithoutMessageIsAnError) {
    EXPECT_EQ(Issue(), IssueAnalyse::Erreur);
}

} // namespace

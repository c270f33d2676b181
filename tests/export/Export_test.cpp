#include "export/Export.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace arbrix;

namespace {

const QString NB = QString(QChar(0xA0));

// O.U. Sales holding two groups, a disabled computer and a service account; Jean Dupont is in
// both groups. "Sales (EMEA)" is collapsed, the rest expanded.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        racine = Ajoute(nullptr, "\\\\Sales", "Sales" + NB + "(5)", "OOU=Sales,DC=ex,DC=test", "ou");
        managers = Ajoute(racine, "\\\\Sales\\Managers", "Managers" + NB + "(2)", "GCN=Managers,OU=Sales",
                          "grp_sec_glo");
        Ajoute(managers, "\\\\Sales\\Managers\\jdupont", "Jean Dupont (jdupont)", "UCN=Jean Dupont", "user");
        Ajoute(managers, "\\\\Sales\\Managers\\mcurie",
               "Marie Curie (mcurie)" + NB + "-> expirera le 01/01/2031", "UCN=Marie Curie", "user");
        emea = Ajoute(racine, "\\\\Sales\\Sales (EMEA)", "Sales (EMEA)" + NB + "(1)", "GCN=Sales (EMEA)",
                      "grp_dis_uni");
        Ajoute(emea, "\\\\Sales\\Sales (EMEA)\\jdupont", "Jean Dupont (jdupont)", "UCN=Jean Dupont", "user");
        Ajoute(racine, "\\\\Sales\\PC01$", "PC01 (pc01$)", "CCN=PC01", "comp_ina");
        Ajoute(racine, "\\\\Sales\\svc$", "svc (svc$)", "SCN=svc", "svce");
        arbre.Deplie(racine);
        arbre.Deplie(managers);
        arbre.Selectionne(racine);
    }

    Noeud* Ajoute(Noeud* parent, const QString& cle, const QString& texte, const QString& tag,
                  const QString& image) {
        const bool conteneur = tag.startsWith(u'O') || tag.startsWith(u'G');
        return arbre.Ajoute(parent, cle, texte, tag, image, conteneur);
    }

    QString Exporte(bool apercu = false) { return GenereExport(arbre, options, apercu); }

    static QString Lignes(const QStringList& lignes) { return lignes.join(QStringLiteral("\r\n")); }

    Arbre arbre;
    OptionsExport options;
    Noeud* racine = nullptr;
    Noeud* managers = nullptr;
    Noeud* emea = nullptr;
};

TEST(DecodeCaracteres, DecodesTheThreeEscapesAndLeavesOtherBackslashes) {
    EXPECT_EQ(DecodeCaracteres(QStringLiteral(";\\t\\r\\n")), QStringLiteral(";\t\r\n"));
    EXPECT_EQ(DecodeCaracteres(QStringLiteral("\\x\\")), QStringLiteral("\\x\\"));
    // No way to write a literal backslash before n: the pair is always decoded.
    EXPECT_EQ(DecodeCaracteres(QStringLiteral("\\\\n")), QStringLiteral("\\\n"));
}

TEST_F(ExportTest, FormatsChooseTheItemTextUnderTheIndentedStructure) {
    EXPECT_EQ(Exporte(), Lignes({"Sales" + NB + "(5)", "\tManagers" + NB + "(2)", "\t\tJean Dupont (jdupont)",
                                 "\t\tMarie Curie (mcurie)" + NB + "-> expirera le 01/01/2031",
                                 "\tPC01 (pc01$)" + NB + "-> désactivé", "\tSales (EMEA)" + NB + "(1)",
                                 "\t\tJean Dupont (jdupont)", "\tsvc (svc$)"}));
    // The group, an account with a note and a disabled computer in the other formats.
    const std::pair<qint16, QStringList> cas[] = {
        {FormatExport::NomsEtComptes, {"\tManagers", "\t\tMarie Curie (mcurie)", "\tPC01 (pc01$)"}},
        {FormatExport::Comptes, {"\tManagers", "\t\tmcurie", "\tPC01$"}},
        {FormatExport::Noms, {"\tManagers", "\t\tMarie Curie", "\tPC01"}},
    };
    for (const auto& [format, lignes] : cas) {
        options.Format = format;
        const QStringList texte = Exporte().split(QStringLiteral("\r\n"));
        EXPECT_EQ((QStringList{texte.value(1), texte.value(3), texte.value(4)}), lignes) << format;
    }
}

TEST_F(ExportTest, NamesOnlyKeepsParenthesesThatBelongToTheName) {
    arbre.Ajoute(managers, "\\\\Sales\\Managers\\ext1", "Durand (Prestataire) (ext1)", "UCN=Durand", "user");
    arbre.Ajoute(managers, "\\\\Sales\\Managers\\anon", " (anon)", "UCN=anon", "user");
    options.Format = FormatExport::Noms;
    options.Etendue = EtendueExport::NoeudSeul;
    arbre.Selectionne(managers);
    EXPECT_EQ(Exporte(),
              Lignes({"Managers", "\t", "\tDurand (Prestataire)", "\tJean Dupont", "\tMarie Curie"}));
}

TEST_F(ExportTest, ColumnModeSplitsANameHoldingABackslash) {
    Noeud* g = arbre.Ajoute(racine, "\\\\Sales\\R\\D", "R\\D", "GCN=R\\5CD", "grp_sec_glo", true);
    arbre.Selectionne(g);
    options.ModeColonne = true;
    options.Separateur = QStringLiteral(";");
    options.Format = FormatExport::Comptes;
    arbre.Ajoute(g, "\\\\Sales\\R\\D\\x", "X (x)", "UCN=X", "user");
    EXPECT_EQ(Exporte(), Lignes({"R\\D", ";;Sales;R;D;x"}));
}

TEST_F(ExportTest, SameNamedSiblingsAreExportedAndCopiedByTheirDirectoryName) {
    // An O.U. named like the group beside it: the tree numbers its Key, the directory does not.
    Noeud* ou = arbre.Ajoute(racine, "\\\\Sales\\Managers" + NB + "(2)", "Managers" + NB + "(1)",
                             "OOU=Managers,OU=Sales", "ou", true);
    Noeud* zoe = arbre.Ajoute(ou, "\\\\Sales\\Managers" + NB + "(2)\\zoe", "Zoé (zoe)", "UCN=Zoé", "user");
    arbre.Selectionne(ou);
    options.ModeColonne = true;
    options.Separateur = QStringLiteral(";");
    options.Format = FormatExport::Comptes;
    EXPECT_EQ(Exporte(), Lignes({"Managers", ";;Sales;Managers;zoe"}));
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierCompte, {zoe->Text(), zoe->Key(), zoe->Tag()}),
              std::optional<QString>(QStringLiteral("zoe")));
}

TEST_F(ExportTest, ExtentsLimitTheDescent) {
    options.Format = FormatExport::NomsEtComptes;
    options.Etendue = EtendueExport::NoeudsOuverts;
    // The collapsed group's own line is written, not its members.
    EXPECT_EQ(Exporte(),
              Lignes({"Sales", "\tManagers", "\t\tJean Dupont (jdupont)", "\t\tMarie Curie (mcurie)",
                      "\tPC01 (pc01$)", "\tSales (EMEA)", "\tsvc (svc$)"}));
}

TEST_F(ExportTest, FlatListWritesEachAccountOnceWithoutRegardToCase) {
    Ajoute(emea, "\\\\Sales\\Sales (EMEA)\\JDUPONT2", "JEAN DUPONT (JDUPONT)", "UCN=Jean Dupont", "user");
    options.Structure = false;
    options.ModeColonne = true; // needs the structure: ignored
    options.Format = FormatExport::NomsEtComptes;
    options.Separateur = QStringLiteral(", ");
    EXPECT_EQ(Exporte(),
              QStringLiteral("Jean Dupont (jdupont), Marie Curie (mcurie), PC01 (pc01$), svc (svc$)"));
}

TEST_F(ExportTest, AccountKindsAreFilteredByTheirCheckBoxes) {
    options.Format = FormatExport::Comptes;
    options.ComptesUtilisateurs = false;
    options.ComptesDeService = false;
    EXPECT_EQ(Exporte(), Lignes({"Sales", "\tManagers", "\tPC01$", "\tSales (EMEA)"}));
    options.Structure = false;
    options.ComptesUtilisateurs = true;
    options.ComptesOrdinateurs = false;
    EXPECT_EQ(Exporte(), Lignes({"jdupont", "mcurie"}));
    // Contacts, foreign principals and objects of other classes go by one box together.
    Ajoute(racine, "\\\\Sales\\contact", "Contact (contact)", "KCN=contact", "contact");
    Ajoute(racine, "\\\\Sales\\autre", "Autre", "?CN=autre", "autre");
    options.ComptesOrdinateurs = options.ComptesDeService = true;
    EXPECT_EQ(Exporte(), Lignes({"autre", "contact", "jdupont", "mcurie", "PC01$", "svc$"}));
    options.AutresMembres = false;
    EXPECT_EQ(Exporte(), Lignes({"jdupont", "mcurie", "PC01$", "svc$"}));
}

TEST_F(ExportTest, ANodeWithoutChildrenGivesItsOwnLineOrNothing) {
    arbre.Selectionne(arbre.Node("\\\\Sales\\svc$"));
    EXPECT_EQ(Exporte(), QStringLiteral("svc (svc$)"));
    options.Structure = false;
    EXPECT_EQ(Exporte(), QString());
}

TEST_F(ExportTest, PreviewStopsAtTwentyLinesOrWrittenItems) {
    for (int i = 0; i < 30; ++i) {
        const QString nom = QStringLiteral("u%1").arg(i, 2, 10, QChar(u'0'));
        Ajoute(emea, "\\\\Sales\\Sales (EMEA)\\" + nom, nom + " (" + nom + ")", "UCN=" + nom, "user");
    }
    const QString apercu = Exporte(true);
    EXPECT_EQ(apercu.count(QStringLiteral("\r\n")) + 1, LignesApercuMax);
    EXPECT_TRUE(Exporte().startsWith(apercu));
    // A flat list counts written items only: jdupont, in two groups, once.
    options.Structure = false;
    options.Format = FormatExport::Comptes;
    options.Separateur = QStringLiteral(";");
    const QStringList items = Exporte(true).split(u';');
    EXPECT_EQ(items.size(), LignesApercuMax);
    EXPECT_EQ(items.count(QStringLiteral("jdupont")), 1);
}

} // namespace

#include "shell/Commandes.h"
#include "shell/FichiersTest.h"
#include "tree/LigneCommande.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

// A DN with its upper-case prefix opens that object; anything else is a name to search. The
// joining of the arguments is read through the start-up tests.
TEST(LigneCommande, DistinguishedNamesOrSearchTexts) {
    const struct {
        QString ligne;
        bool analyser;
        qint16 type;
        QString dn, texteRecherche;
    } cas[] = {
        {u"  OU=Paie et Compta,DC=x  "_s, true, TypeRechercheOU, u"OU=Paie et Compta,DC=x"_s, {}},
        {u"CN=GG Paie,OU=Paie,DC=x"_s, true, TypeRechercheGroupe, u"CN=GG Paie,OU=Paie,DC=x"_s, {}},
        {u"cn=GG Paie"_s, true, TypeRechercheGroupe, {}, u"cn=GG Paie"_s},
        {u" Compta "_s, true, TypeRechercheGroupe, {}, u" Compta "_s}, // the box gets the line as given
        {u"\tOU=x"_s, true, TypeRechercheGroupe, {}, u"\tOU=x"_s},     // only spaces are trimmed
        {u"   "_s, false, TypeRechercheGroupe, {}, {}},
    };
    for (const auto& c : cas) {
        const PointDeDepart p = InterpreteLigneCommande(c.ligne);
        EXPECT_EQ(p.analyser, c.analyser) << c.ligne.toStdString();
        EXPECT_EQ(p.dn, c.dn) << c.ligne.toStdString();
        if (c.analyser) {
            EXPECT_EQ(p.type, c.type) << c.ligne.toStdString();
            EXPECT_EQ(p.texteRecherche, c.texteRecherche) << c.ligne.toStdString();
        }
    }
}

TEST(NouvelleInstance, DistinguishedNameSurvivesAsOneArgument) {
    const QString dn = u"OU=Deux  espaces,OU=Sièges,DC=exemple,DC=test"_s;
    const Commande commande = CommandeNouvelleInstance(dn, u"/opt/arbrix/bin/arbrix"_s);
    ASSERT_EQ(commande.arguments, QStringList{dn});
    // What the new instance makes of it.
    EXPECT_EQ(InterpreteLigneCommande(LigneCommandeDesArguments(commande.arguments)).dn, dn);
}

// The tool's own folder beside the program's comes first; a folder of the tool's name is no tool.
TEST(OutilCompte, FoundInItsOwnFolderBesideTheProgramFirst) {
    QTemporaryDir racine;
    const QString programme = racine.filePath(u"Arbrix"_s);
    const QString frere = racine.filePath(u"Quorvel/Quorvel"_s);
    ASSERT_TRUE(QDir().mkpath(programme + u"/Quorvel"_s));
    EXPECT_EQ(CheminOutilCompte(programme), QString());
    ASSERT_TRUE(test::EcritFichier(frere, {}));
    EXPECT_EQ(CheminOutilCompte(programme), frere);

    ASSERT_TRUE(QDir(programme).rmdir(u"Quorvel"_s));
    ASSERT_TRUE(test::EcritFichier(programme + u"/Quorvel"_s, {}));
    EXPECT_EQ(CheminOutilCompte(programme), frere);
    QFile::remove(frere);
    EXPECT_EQ(CheminOutilCompte(programme), programme + u"/Quorvel"_s);
    EXPECT_EQ(CommandeOutilCompte(frere, u"j.dupont"_s).arguments, QStringList{u"j.dupont"_s});
}

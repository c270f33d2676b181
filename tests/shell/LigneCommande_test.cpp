#include "shell/Commandes.h"
#include "shell/LigneCommande.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

void CreeFichier(const QString& chemin) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(LigneCommande, DistinguishedNamesOfOUsAndGroups) {
    const auto ou = InterpreteLigneCommande(u"  OU=Paie et Compta,DC=exemple,DC=test  "_s);
    EXPECT_TRUE(ou.analyser);
    EXPECT_EQ(ou.type, TypeRechercheOU);
    EXPECT_EQ(ou.dn, u"OU=Paie et Compta,DC=exemple,DC=test"_s);

    const auto groupe = InterpreteLigneCommande(u"CN=GG Paie,OU=Paie,DC=exemple,DC=test"_s);
    EXPECT_EQ(groupe.type, TypeRechercheGroupe);
    EXPECT_EQ(groupe.dn, u"CN=GG Paie,OU=Paie,DC=exemple,DC=test"_s);
    EXPECT_TRUE(groupe.texteRecherche.isEmpty());
}

TEST(LigneCommande, LowerCasePrefixOrPlainNameIsASearchText) {
    const auto minuscules = InterpreteLigneCommande(u"cn=GG Paie"_s);
    EXPECT_TRUE(minuscules.analyser);
    EXPECT_EQ(minuscules.type, TypeRechercheGroupe);
    EXPECT_TRUE(minuscules.dn.isEmpty());
    EXPECT_EQ(minuscules.texteRecherche, u"cn=GG Paie"_s);

    // The search box gets the line as given, spaces included.
    EXPECT_EQ(InterpreteLigneCommande(u" Compta "_s).texteRecherche, u" Compta "_s);
    EXPECT_FALSE(InterpreteLigneCommande(u"   "_s).analyser);
    EXPECT_FALSE(InterpreteLigneCommande(QString()).analyser);
    // Only spaces are trimmed.
    EXPECT_EQ(InterpreteLigneCommande(u"\tOU=x"_s).dn, QString());
}

TEST(LigneCommande, ArgumentsAreJoinedBySingleSpaces) {
    EXPECT_EQ(LigneCommandeDesArguments({u"OU=Paie"_s, u"et"_s, u"Compta,DC=x"_s}),
              u"OU=Paie et Compta,DC=x"_s);
    EXPECT_EQ(LigneCommandeDesArguments({}), QString());
}

TEST(NouvelleInstance, DistinguishedNameSurvivesAsOneArgument) {
    const QString dn = u"OU=Deux  espaces,OU=Sièges,DC=exemple,DC=test"_s;
    const Commande commande = CommandeNouvelleInstance(dn, u"/opt/arbrix/bin/arbrix"_s);
    EXPECT_EQ(commande.programme, u"/opt/arbrix/bin/arbrix"_s);
    ASSERT_EQ(commande.arguments, QStringList{dn});
    // What the new instance makes of it.
    EXPECT_EQ(InterpreteLigneCommande(LigneCommandeDesArguments(commande.arguments)).dn, dn);
    EXPECT_EQ(CommandeRedemarrage(u"/usr/bin/arbrix"_s), (Commande{u"/usr/bin/arbrix"_s, {}}));
}

TEST(OutilCompte, FoundInItsOwnFolderBesideTheProgramFirst) {
    QTemporaryDir racine;
    const QString programme = racine.filePath(u"Arbrix"_s);
    ASSERT_TRUE(QDir().mkpath(programme));
    EXPECT_EQ(CheminOutilCompte(programme), QString());

    // A folder of that name is not the tool.
    ASSERT_TRUE(QDir().mkpath(programme + u"/Quorvel"_s));
    EXPECT_EQ(CheminOutilCompte(programme), QString());

    const QString frere = racine.filePath(u"Quorvel/Quorvel"_s);
    ASSERT_TRUE(QDir().mkpath(racine.filePath(u"Quorvel"_s)));
    CreeFichier(frere);
    EXPECT_EQ(CheminOutilCompte(programme), frere);

    ASSERT_TRUE(QDir(programme).rmdir(u"Quorvel"_s));
    CreeFichier(programme + u"/Quorvel"_s);
    EXPECT_EQ(CheminOutilCompte(programme), frere);
    QFile::remove(frere);
    EXPECT_EQ(CheminOutilCompte(programme), programme + u"/Quorvel"_s);
    EXPECT_EQ(CommandeOutilCompte(frere, u"j.dupont"_s).arguments, QStringList{u"j.dupont"_s});
}

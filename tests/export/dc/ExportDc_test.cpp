// Trees with Chinese and Cyrillic names, analysed on the domain controller and exported to a file
// by the code the export dialog runs: the file holds exactly these UTF-8 bytes.

#include "TestDc.h"

#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"
#include "export/EcritureExport.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "shell/Interaction.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace arbrix;
using namespace arbrix::testdc;

namespace {

struct Cas {
    const char* dn;
    bool colonnes;
    const char* octets;
};

const Cas kCas[] = {
    {"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test", false,
     "Chercheurs R&D, Paris\u00A0(4)\r\n"
     "\tChloé Garnier (cgarnier)\r\n"
     "\tLucas Fontaine (lfontaine)\r\n"
     "\tNathalie Roux (nroux)\r\n"
     "\t王芳 (Wang Fang) (wfang)\r\n"},
    {"OU=Филиал Москва,OU=Velmora,DC=velmora,DC=test", true,
     "Филиал Москва\u00A0(2)\r\n"
     ";;Филиал Москва;Дмитрий Волков (dvolkov)\r\n"
     ";;Филиал Москва;Отдел продаж\u00A0(1)\r\n"
     ";;Филиал Москва;Отдел продаж;Дмитрий Волков (dvolkov)\r\n"},
};

TEST(ExportDc, NonLatinNamesAreWrittenAsUtf8) {
    ARBRIX_REQUIRE_DC();
    ChargeTraductions(QString());
    const AnnuaireOuvert annuaire = OuvreAnnuaire(AnalyseDesignationAnnuaire(Dc().uri()));
    ASSERT_TRUE(annuaire.ouvert()) << annuaire.erreur.toStdString();
    Parametres parametres;
    parametres.AccesAD = 1;
    parametres.AccesADLogin = Dc().value("ADMIN_LOGIN");
    parametres.AccesADPassword = Dc().value("ADMIN_PASSWORD");
    SessionAD session(annuaire.backend, AccesAnnuaire::depuis(parametres));
    ASSERT_TRUE(session.Ouvre().reussi());
    QTemporaryDir dossier;

    for (const Cas& cas : kCas) {
        SCOPED_TRACE(cas.dn);
        Arbre arbre;
        Interaction utilisateur;
        Analyse analyse(arbre, session, parametres, utilisateur);
        analyse.LanceAnalyse(Mode::Standard, OnDc(QString::fromUtf8(cas.dn)));
        ASSERT_EQ(analyse.Resultat().issue, IssueAnalyse::Arborescence);

        OptionsExport options;
        if (cas.colonnes) {
            options.ModeColonne = true;
            options.Separateur = QStringLiteral(";");
        }
        const QString chemin = dossier.filePath(QStringLiteral("export.txt"));
        ASSERT_FALSE(ExporteVersFichier(*arbre.Racine(), options, chemin).has_value());
        QFile fichier(chemin);
        ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
        EXPECT_EQ(fichier.readAll(), QByteArray(cas.octets));
    }
}

} // namespace

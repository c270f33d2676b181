#include "export/EcritureExport.h"
#include "i18n/Traductions.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

using namespace arbrix;

TEST(EcritureExport, AFailureSaysWhereAndWhyAndLeavesNothingBehind) {
    ChargeTraductions(QString());
    QTemporaryDir dossier;
    const QString enTravers = dossier.filePath(QStringLiteral("fichier"));
    ASSERT_TRUE(test::EcritFichier(enTravers, "garde"));
    QDir(dossier.path()).mkpath(QStringLiteral("dossier.txt"));
    const std::pair<QString, qint32> cas[] = {
        {dossier.filePath(QStringLiteral("absent/export.txt")), NumeroErreurExport::DossierIntrouvable},
        {enTravers + QStringLiteral("/export.txt"), NumeroErreurExport::DossierIntrouvable},
        {dossier.filePath(QStringLiteral("dossier.txt")), NumeroErreurExport::AccesFichier},
    };
    for (const auto& [chemin, numero] : cas) {
        const std::optional<ErreurExport> erreur = EcritFichierExport(chemin, QStringLiteral("texte"));
        ASSERT_TRUE(erreur.has_value()) << chemin.toStdString();
        const QString message = MessageErreurExport(*erreur);
        EXPECT_TRUE(message.startsWith(
            QStringLiteral("Une erreur (%1) est survenue lors de l'export :\r\n\r\n\t%2 : ")
                .arg(numero)
                .arg(chemin)))
            << message.toStdString();
        EXPECT_TRUE(message.endsWith(Traduction(u"TXT_EXPORT_CONSEIL_FICHIER")));
    }
    // No temporary file left, and the file in the way untouched.
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({QStringLiteral("dossier.txt"), QStringLiteral("fichier")}));
    EXPECT_EQ(test::LitFichier(enTravers), "garde");
}

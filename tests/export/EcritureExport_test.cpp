#include "export/EcritureExport.h"
#include "i18n/Traductions.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace arbrix;

namespace {

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void Ecrit(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

class EcritureExportTest : public ::testing::Test {
protected:
    void SetUp() override { ChargeTraductions(QString()); }
    QString Chemin(const QString& nom) const { return dossier.filePath(nom); }
    QTemporaryDir dossier;
};

TEST_F(EcritureExportTest, ReplacesTheWholeFileWithUtf8AndAFinalLineBreak) {
    const QString chemin = Chemin(QStringLiteral("export.txt"));
    Ecrit(chemin, QByteArray(5000, 'x'));
    ASSERT_FALSE(EcritFichierExport(chemin, QStringLiteral("王芳\r\n\tДмитрий Волков")).has_value());
    EXPECT_EQ(Contenu(chemin), QStringLiteral("王芳\r\n\tДмитрий Волков\r\n").toUtf8());
}

TEST_F(EcritureExportTest, AFailureSaysWhereAndWhyAndLeavesNoFileBehind) {
    Ecrit(Chemin(QStringLiteral("fichier")), "garde");
    QDir(dossier.path()).mkpath(QStringLiteral("dossier/existant.txt"));
    struct Cas {
        QString chemin;
        qint32 numero;
    };
    const Cas cas[] = {
        {Chemin(QStringLiteral("absent/export.txt")), NumeroErreurExport::DossierIntrouvable},
        {Chemin(QStringLiteral("fichier/export.txt")), NumeroErreurExport::DossierIntrouvable},
        {Chemin(QStringLiteral("dossier/existant.txt")), NumeroErreurExport::AccesFichier},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.chemin.toStdString());
        const std::optional<ErreurExport> erreur = EcritFichierExport(c.chemin, QStringLiteral("texte"));
        ASSERT_TRUE(erreur.has_value());
        EXPECT_EQ(erreur->numero, c.numero);
        const QString message = MessageErreurExport(*erreur);
        EXPECT_TRUE(message.startsWith(
            QStringLiteral("Une erreur (%1) est survenue lors de l'export :\r\n\r\n\t").arg(c.numero)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(c.chemin));
        EXPECT_TRUE(message.endsWith(Traduction(u"TXT_EXPORT_CONSEIL_FICHIER")));
    }
    // Nothing half-written anywhere, and the file in the way untouched.
    EXPECT_EQ(Contenu(Chemin(QStringLiteral("fichier"))), "garde");
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({QStringLiteral("dossier"), QStringLiteral("fichier")}));
    EXPECT_EQ(QDir(Chemin(QStringLiteral("dossier"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList(QStringLiteral("existant.txt")));
}

TEST_F(EcritureExportTest, TheSaveDialogStartsInTheLastFolderStillThereElseInTheDocuments) {
    const QString documents = Chemin(QStringLiteral("Documents"));
    const QString ici = dossier.path() + QStringLiteral("/liste.txt");
    struct Cas {
        QString dernier, dossier, nom;
    };
    const Cas cas[] = {
        {{}, documents, {}},
        {ici, dossier.path(), QStringLiteral("liste.txt")},
        {QStringLiteral("/plus/la/liste.txt"), documents, QStringLiteral("liste.txt")},
        {QStringLiteral("C:\\Users\\jean\\Mes documents\\liste.txt"), documents, QStringLiteral("liste.txt")},
    };
    for (const Cas& c : cas) {
        const DepartEnregistrement depart = DepartEnregistrementExport(c.dernier, documents);
        EXPECT_EQ(depart.dossier, c.dossier) << c.dernier.toStdString();
        EXPECT_EQ(depart.nom, c.nom) << c.dernier.toStdString();
    }
}

} // namespace

#include "directory/OuvertureAnnuaire.h"
#include "directory/ldap/LdapBackend.h"
#include "directory/memory/MemoryBackend.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

// ARBRIX_DIRECTORY, when set and not empty, wins over the setting.
class Ouverture : public ::testing::Test {
protected:
    void SetUp() override { qputenv("ARBRIX_DIRECTORY", ""); }
    void TearDown() override { qputenv("ARBRIX_DIRECTORY", ""); }
};

const QString samplePath = QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif");

} // namespace

TEST(DesignationAnnuaire, ReadsUrisHostsAndFiles) {
    const struct {
        QString text;
        GenreAnnuaire genre;
        QString value;
    } rows[] = {
        {u"  "_s, GenreAnnuaire::Decouverte, {}},
        {u"LDAPS://dc1.velmora.test, ldap://dc2 ldapi:///"_s, GenreAnnuaire::Serveurs,
         u"LDAPS://dc1.velmora.test ldap://dc2 ldapi:///"_s},
        {u"dc1.velmora.test"_s, GenreAnnuaire::Serveurs, u"ldap://dc1.velmora.test"_s},
        {u" dc1.velmora.test:3268 "_s, GenreAnnuaire::Serveurs, u"ldap://dc1.velmora.test:3268"_s},
        {u"/srv/annuaire/Sample.LDIF"_s, GenreAnnuaire::FichierLdif, u"/srv/annuaire/Sample.LDIF"_s},
        {u"sample-domain.ldif"_s, GenreAnnuaire::FichierLdif, u"sample-domain.ldif"_s},
        {u"./domaine"_s, GenreAnnuaire::FichierLdif, u"./domaine"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const DesignationAnnuaire designation = AnalyseDesignationAnnuaire(row.text);
        EXPECT_TRUE(designation.valide()) << designation.erreur.toStdString();
        EXPECT_EQ(designation.genre, row.genre);
        EXPECT_EQ(designation.valeur, row.value);
    }
}

TEST_F(Ouverture, OpensTheEmbeddedDirectoryFromAnLdifFile) {
    qputenv("ARBRIX_DIRECTORY", samplePath.toUtf8());
    const AnnuaireOuvert opened = OuvreAnnuaire(u"ldap://ignored"_s);
    ASSERT_TRUE(opened.ouvert()) << opened.erreur.toStdString();
    EXPECT_EQ(opened.genre, GenreAnnuaire::FichierLdif);
    auto* memory = dynamic_cast<MemoryBackend*>(opened.backend.get());
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->namingContext().toLower(), u"dc=velmora,dc=test"_s);
}

TEST_F(Ouverture, OpensTheLdapBackendOnTheNamedServers) {
    const AnnuaireOuvert opened = OuvreAnnuaire(u"ldaps://dc1.velmora.test dc2.velmora.test"_s);
    ASSERT_TRUE(opened.ouvert());
    auto* ldap = dynamic_cast<LdapBackend*>(opened.backend.get());
    ASSERT_NE(ldap, nullptr);
    EXPECT_EQ(ldap->options().uris, u"ldaps://dc1.velmora.test ldap://dc2.velmora.test"_s);
    // Nothing is contacted before the session binds.
    EXPECT_TRUE(ldap->connectedUris().isEmpty());

    const AnnuaireOuvert discovering = OuvreAnnuaire(QString());
    ASSERT_TRUE(discovering.ouvert());
    EXPECT_EQ(discovering.genre, GenreAnnuaire::Decouverte);
}

// A missing file is told, with its path, by the window and command-line tests.
TEST_F(Ouverture, ExplainsWhatCannotBeOpened) {
    QTemporaryDir dir;
    const QString broken = dir.filePath(u"broken.ldif"_s);
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("dn: DC=velmora,DC=test\nobjectClass: domainDNS\n\ndn: OU=A,DC=velmora,DC=test\nnot a line\n");
    file.close();
    const AnnuaireOuvert bad = OuvreAnnuaire(broken);
    EXPECT_FALSE(bad.ouvert());
    EXPECT_TRUE(bad.erreur.contains(u"broken.ldif"_s)) << bad.erreur.toStdString();
    EXPECT_TRUE(bad.erreur.contains(u":5"_s)) << bad.erreur.toStdString(); // the line at fault

    const AnnuaireOuvert wrongScheme = OuvreAnnuaire(u"ldap://dc1 https://dc2"_s);
    EXPECT_FALSE(wrongScheme.ouvert());
    EXPECT_TRUE(wrongScheme.erreur.contains(u"https://dc2"_s)) << wrongScheme.erreur.toStdString();
}

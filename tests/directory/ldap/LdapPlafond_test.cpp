// A server that caps unpaged answers, as Active Directory does past its MaxPageSize: a scoped
// query goes unpaged, and when the server says the answer is too large it is asked again page by
// page, with nothing of the refused answer kept.

#include "directory/ldap/LdapBackend.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

class ServeurPlafonne : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        m_journal = m_dossier.filePath(u"requetes"_s);
        m_serveur.start(u"python3"_s,
                        {QStringLiteral(ARBRIX_SERVEUR_PLAFONNE), m_journal, QString::number(GetParam())});
        ASSERT_TRUE(m_serveur.waitForReadyRead(10000));
        const QString port = QString::fromLatin1(m_serveur.readLine()).trimmed();
        LdapOptions options;
        options.uris = u"ldap://127.0.0.1:"_s + port;
        options.networkTimeoutSeconds = 5;
        m_annuaire = std::make_unique<LdapBackend>(options);
    }
    void TearDown() override {
        m_serveur.kill();
        m_serveur.waitForFinished();
    }

    static SearchRequest membres() {
        SearchRequest r = searchRequest(u"CN=Groupe,OU=Essai,DC=plafond,DC=test"_s, SearchScope::Base,
                                        u"(objectClass=*)"_s, {u"cn"_s});
        r.scopedAttribute = u"member"_s;
        return r;
    }
    static QStringList dns(const QList<LdapEntry>& lignes) {
        QStringList l;
        for (const LdapEntry& e : lignes)
            l << e.dn;
        return l;
    }
    QStringList requetes() const {
        QFile f(m_journal);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }

    QTemporaryDir m_dossier;
    QString m_journal;
    QProcess m_serveur;
    std::unique_ptr<LdapBackend> m_annuaire;
};

const QStringList Attendus = {
    u"CN=Membre 0,OU=Essai,DC=plafond,DC=test"_s, u"CN=Membre 1,OU=Essai,DC=plafond,DC=test"_s,
    u"CN=Membre 2,OU=Essai,DC=plafond,DC=test"_s, u"CN=Membre 3,OU=Essai,DC=plafond,DC=test"_s,
    u"CN=Membre 4,OU=Essai,DC=plafond,DC=test"_s};

TEST_P(ServeurPlafonne, UnAppelRefuseTropGrandEstRedemandeParPages) {
    EXPECT_EQ(dns(searchAll(*m_annuaire, membres())), Attendus);
    EXPECT_EQ(requetes(), QStringList({u"unpaged"_s, u"paged"_s, u"paged"_s, u"paged"_s}));
}

// A subtree search asked for unpaged first, as the bulk reading of an O.U. is; another is paged
// from its first page.
TEST_P(ServeurPlafonne, UneRechercheDeSousArbreSansPagesDAbord) {
    SearchRequest ou = searchRequest(u"OU=Essai,DC=plafond,DC=test"_s, SearchScope::Subtree,
                                     u"(objectClass=*)"_s, {u"cn"_s});
    EXPECT_EQ(dns(searchAll(*m_annuaire, ou)), Attendus);
    ou.unpagedFirst = true;
    EXPECT_EQ(dns(searchAll(*m_annuaire, ou)), Attendus);
    EXPECT_EQ(requetes(), QStringList({u"paged"_s, u"paged"_s, u"paged"_s, u"unpaged"_s, u"paged"_s,
                                       u"paged"_s, u"paged"_s}));
}

TEST_P(ServeurPlafonne, UnLotAussi) {
    const std::unique_ptr<SearchBatch> lot = m_annuaire->searchBatch(8);
    const int premier = lot->start(membres());
    const int second = lot->start(membres());
    QMap<int, QStringList> obtenus;
    while (std::optional<FinishedSearch> fini = lot->next()) {
        ASSERT_FALSE(fini->error) << fini->error->message().toStdString();
        obtenus.insert(fini->ticket, dns(fini->entries));
    }
    EXPECT_EQ(obtenus.value(premier), Attendus);
    EXPECT_EQ(obtenus.value(second), Attendus);
}

INSTANTIATE_TEST_SUITE_P(SizeLimitEtAdminLimit, ServeurPlafonne, ::testing::Values(4, 11));

} // namespace

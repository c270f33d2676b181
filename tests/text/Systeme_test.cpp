#include "text/Systeme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

// Sets environment variables for one test and puts the previous values back.
class Environnement {
public:
    void Fixe(const char* nom, const char* valeur) {
        if (!m_anciennes.contains(nom))
            m_anciennes.insert(nom,
                               qEnvironmentVariableIsSet(nom) ? std::optional(qgetenv(nom)) : std::nullopt);
        if (valeur)
            qputenv(nom, valeur);
        else
            qunsetenv(nom);
    }
    ~Environnement() {
        for (auto it = m_anciennes.cbegin(); it != m_anciennes.cend(); ++it) {
            if (it.value())
                qputenv(it.key().constData(), *it.value());
            else
                qunsetenv(it.key().constData());
        }
    }

private:
    QHash<QByteArray, std::optional<QByteArray>> m_anciennes;
};

} // namespace

TEST(CodeLangue, LocaleNamesMapToWindowsPrimaryLanguages) {
    const std::pair<QString, int> cas[] = {
        {u"fr_CA"_s, 12}, {u"en_GB.UTF-8@euro"_s, 9}, {u"de"_s, 7},    {u"pt_BR"_s, 22},
        {u"nb_NO"_s, 20}, {u"C.UTF-8"_s, 9},          {u"POSIX"_s, 9}, {u"xx_YY"_s, 0}};
    for (const auto& [locale, code] : cas)
        EXPECT_EQ(CodeLangueDeLocale(locale), code) << locale.toStdString();
}

TEST(CodeLangue, LcAllThenLcMessagesThenLang) {
    Environnement env;
    env.Fixe("LC_ALL", "de_DE.UTF-8");
    env.Fixe("LC_MESSAGES", "it_IT.UTF-8");
    env.Fixe("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(CodeLangueSysteme(), 7);
    env.Fixe("LC_ALL", "");
    EXPECT_EQ(CodeLangueSysteme(), 16);
    env.Fixe("LC_MESSAGES", nullptr);
    EXPECT_EQ(CodeLangueSysteme(), 12);
    env.Fixe("LANG", nullptr);
    EXPECT_EQ(CodeLangueSysteme(), 9);
}

TEST(DossierSpecial, ConfigurationFolderFollowsXdgConfigHome) {
    Environnement env;
    env.Fixe("XDG_CONFIG_HOME", "/tmp/xdg-test/");
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/tmp/xdg-test"_s);
    env.Fixe("XDG_CONFIG_HOME", "relative/path");
    env.Fixe("HOME", "/home/someone");
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/home/someone/.config"_s);
    env.Fixe("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/home/someone/.config"_s);
    EXPECT_TRUE(PrefixesSysteme().contains(DossierSpecial(CsidlProgrammes)));
}

TEST(FichierExiste, DirectoryBitSelectsFoldersOnly) {
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(u"a.ini"_s);
    const QString cache = dossier.filePath(u".cache"_s);
    for (const QString& chemin : {fichier, cache}) {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(FichierExiste(fichier, 0));
    EXPECT_FALSE(FichierExiste(fichier, AttributDossier));
    EXPECT_FALSE(FichierExiste(dossier.path(), 0));
    EXPECT_TRUE(FichierExiste(dossier.path(), AttributDossier));
    EXPECT_FALSE(FichierExiste(QString(), AttributDossier));
    EXPECT_TRUE(FichierExiste(cache, AttributCache));
    EXPECT_FALSE(FichierExiste(fichier, AttributCache));
}

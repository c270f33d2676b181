#include "text/Systeme.h"

#include <QProcessEnvironment>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

// Puts the variables the tests change back as they were.
auto RemetEnvironnement() {
    return qScopeGuard([avant = QProcessEnvironment::systemEnvironment()] {
        for (const QString& nom :
             {u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s, u"XDG_CONFIG_HOME"_s, u"HOME"_s}) {
            if (avant.contains(nom))
                qputenv(nom.toLatin1().constData(), avant.value(nom).toLocal8Bit());
            else
                qunsetenv(nom.toLatin1().constData());
        }
    });
}

} // namespace

TEST(CodeLangue, LocaleNamesMapToWindowsPrimaryLanguages) {
    const std::pair<QString, int> cas[] = {
        {u"fr_CA"_s, 12}, {u"en_GB.UTF-8@euro"_s, 9}, {u"de"_s, 7},    {u"pt_BR"_s, 22},
        {u"nb_NO"_s, 20}, {u"C.UTF-8"_s, 9},          {u"POSIX"_s, 9}, {u"xx_YY"_s, 0}};
    for (const auto& [locale, code] : cas)
        EXPECT_EQ(CodeLangueDeLocale(locale), code) << locale.toStdString();
    // And back, for the name of Qt's own translation file; one of several codes of a number.
    EXPECT_EQ(CodeIsoDeLangue(12), u"fr"_s);
    EXPECT_EQ(CodeIsoDeLangue(20), u"nb"_s);
    EXPECT_EQ(CodeIsoDeLangue(0), QString());
}

TEST(CodeLangue, LcAllThenLcMessagesThenLang) {
    const auto remet = RemetEnvironnement();
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LC_MESSAGES", "it_IT.UTF-8");
    qputenv("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(CodeLangueSysteme(), 7);
    qputenv("LC_ALL", "");
    EXPECT_EQ(CodeLangueSysteme(), 16);
    qunsetenv("LC_MESSAGES");
    EXPECT_EQ(CodeLangueSysteme(), 12);
    qunsetenv("LANG");
    EXPECT_EQ(CodeLangueSysteme(), 9);
}

TEST(DossierSpecial, ConfigurationFolderFollowsXdgConfigHome) {
    const auto remet = RemetEnvironnement();
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test/");
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/tmp/xdg-test"_s);
    qputenv("XDG_CONFIG_HOME", "relative/path");
    qputenv("HOME", "/home/someone");
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/home/someone/.config"_s);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DossierSpecial(CsidlDonneesApplication), u"/home/someone/.config"_s);
    EXPECT_TRUE(PrefixesSysteme().contains(DossierSpecial(CsidlProgrammes)));
}

#include "config/Configuration.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const EntréeMémo Sép{SéparateurMémos(), 0};

Mémos MémosDe(const QString& texte) {
    Mémos m;
    m.ChargeTexte(texte);
    return m;
}

} // namespace

TEST(VérificationConfiguration, DomaineEtNombre) {
    Paramètres p;
    SaisieConfiguration s = SaisieDepuis(p, Mémos());
    EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::Aucune);

    s.AccèsAD = 2;
    s.AccèsADDomaine = u"   "_s;
    EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::Domaine);
    EXPECT_EQ(CléMessage(VérifieSaisie(s)), u"MSG_ERREUR_DOMAINE"_s);
    s.AccèsAD = 1;
    EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::Aucune) << "mode 1 does not use the domain";
    s.AccèsAD = 2;
    s.AccèsADDomaine = u"example.test"_s;
    EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::Aucune);

    for (const QString& mauvais :
         {u""_s, u"abc"_s, u"12a"_s, u"-3"_s, u"2.5"_s, u"1e3"_s, u"40000"_s, u"٣"_s}) {
        s.NbElémentsMémorisésMax = mauvais;
        EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::NombreElementsMemorises) << qPrintable(mauvais);
    }
    EXPECT_EQ(CléMessage(ErreurSaisie::NombreElementsMemorises),
              u"MSG_ERREUR_NOMBRE_ELEMENTS_MEMORISES_MAX"_s);
    EXPECT_EQ(NombreÉlémentsMémorisés(u" 0 "_s), qint16(0));
    EXPECT_EQ(NombreÉlémentsMémorisés(u"32767"_s), qint16(32767));

    s.AccèsADDomaine.clear();
    EXPECT_EQ(VérifieSaisie(s), ErreurSaisie::Domaine) << "fields are checked in window order";
}

TEST(ApplicationConfiguration, LangueEtRedémarrage) {
    Paramètres p;
    p.Langue = u"Français"_s;
    Mémos m;
    SaisieConfiguration s = SaisieDepuis(p, m);
    IssueConfiguration issue = AppliqueSaisie(s, p, m);
    EXPECT_FALSE(issue.LangueChangée);
    EXPECT_FALSE(issue.RedémarrageDemandé);

    s.Langue = u"English"_s;
    s.AnalyseParDéfaut = 4;
    s.AfficherNombreMembres = false;
    issue = AppliqueSaisie(s, p, m);
    EXPECT_TRUE(issue.LangueChangée);
    EXPECT_FALSE(issue.RedémarrageDemandé);
    EXPECT_EQ(p.Langue, u"English"_s);
    EXPECT_EQ(p.AnalyseParDéfaut, 4);
    EXPECT_FALSE(p.AfficherNombreMembres);

    s.AccèsADPassword = u"s3cret "_s;
    s.AccèsADLogin = u" admin "_s;
    issue = AppliqueSaisie(s, p, m);
    EXPECT_TRUE(issue.RedémarrageDemandé) << "the connection is opened only at start-up";
    EXPECT_EQ(p.AccèsADPassword, u"s3cret "_s) << "a password is kept exactly";
    EXPECT_EQ(p.AccèsADLogin, u"admin"_s);

    Paramètres premierLancement; // no language chosen yet: shown and kept as the built-in one
    EXPECT_EQ(SaisieDepuis(premierLancement, m).Langue, u"Français"_s);
    EXPECT_FALSE(AppliqueSaisie(SaisieDepuis(premierLancement, m), premierLancement, m).LangueChangée);
    EXPECT_EQ(premierLancement.Langue, u"Français"_s);
}

TEST(ApplicationConfiguration, MémosReconstruitsDepuisLaListe) {
    Paramètres p;
    Mémos m = MémosDe(u"0|1|A"_s + QChar(30) + u"1|0|B"_s + QChar(30) + u"1|0|C"_s);
    SaisieConfiguration s = SaisieDepuis(p, m);
    EXPECT_EQ(s.ListeMémos, (QList<EntréeMémo>{{u"A"_s, 0}, Sép, {u"B"_s, 1}, {u"C"_s, 1}}));

    ÉditionMémos édition(s.ListeMémos);
    EXPECT_EQ(édition.Monte(2), 1) << "B pinned by moving it above the separator";
    s.ListeMémos = édition.Éléments();
    s.NbElémentsMémorisésMax = u"0"_s;
    AppliqueSaisie(s, p, m);
    EXPECT_EQ(p.NbElémentsMémorisésMax, 0);
    EXPECT_EQ(m.MaximumRécents(), 0);
    ASSERT_EQ(m.Nombre(), 3) << "C trimmed with N = 0";
    EXPECT_EQ(m.PositionSéparateur(), 2);
    EXPECT_TRUE(m.EstÉpinglé(1));
    EXPECT_EQ(m.TexteSauvegarde(), u"0|1|A"_s + QChar(30) + u"1|1|B"_s);
}

TEST(ÉditionDesMémos, DéplacementsEtSuppressions) {
    ÉditionMémos é({{u"A"_s, 0}, Sép, {u"B"_s, 1}});
    EXPECT_FALSE(é.PeutMonter(0));
    EXPECT_EQ(é.Monte(0), 0);
    EXPECT_FALSE(é.PeutDescendre(2));
    EXPECT_EQ(é.Descend(2), 2);
    EXPECT_FALSE(é.PeutSupprimer(1)) << "the separator line stays";
    EXPECT_EQ(é.Supprime(1), 1);
    EXPECT_EQ(é.Éléments().size(), 3);
    EXPECT_EQ(é.Descend(1), 2) << "the separator moves like an entry";
    EXPECT_EQ(é.Éléments()[2], Sép);
    EXPECT_EQ(é.Supprime(1), 1);
    EXPECT_EQ(é.Supprime(0), 0);
    EXPECT_EQ(é.Éléments(), (QList<EntréeMémo>{Sép}));
    EXPECT_FALSE(é.PeutSupprimer(0));
    EXPECT_FALSE(é.PeutSupprimer(-1));

    ÉditionMémos dernier({Sép, {u"A"_s, 0}});
    EXPECT_EQ(dernier.Supprime(1), 0) << "the previous item takes the selection";
}

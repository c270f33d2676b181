#include "config/Configuration.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const EntreeMemo Sep{SeparateurMemos(), 0};

} // namespace

TEST(VerificationConfiguration, DomaineNombreEtMessagerie) {
    Parametres p;
    SaisieConfiguration s = SaisieDepuis(p, Memos());
    EXPECT_EQ(VerifieSaisie(s), ErreurSaisie::Aucune);

    s.AccesAD = 2;
    s.AccesADDomaine = u"   "_s;
    EXPECT_EQ(VerifieSaisie(s), ErreurSaisie::Domaine);
    s.AccesAD = 1;
    EXPECT_EQ(VerifieSaisie(s), ErreurSaisie::Aucune) << "mode 1 does not use the domain";

    for (const QString& mauvais : {u""_s, u"12a"_s, u"-3"_s, u"2.5"_s, u"40000"_s, u"٣"_s}) {
        s.NbElementsMemorisesMax = mauvais;
        EXPECT_EQ(VerifieSaisie(s), ErreurSaisie::NombreElementsMemorises) << qPrintable(mauvais);
    }
    EXPECT_EQ(LitNombreElementsMemorises(u" 0 "_s), qint16(0));
    EXPECT_EQ(LitNombreElementsMemorises(u"32767"_s), qint16(32767));
    s.AccesAD = 2;
    s.AccesADDomaine.clear();
    EXPECT_EQ(VerifieSaisie(s), ErreurSaisie::Domaine) << "fields are checked in window order";

    SaisieConfiguration messagerie = SaisieDepuis(p, Memos());
    messagerie.MessagerieCommande = u"msmtp --from='admin"_s;
    EXPECT_EQ(VerifieSaisie(messagerie), ErreurSaisie::MessagerieCommande);
    messagerie.MessagerieCommande = u"msmtp -i"_s;
    messagerie.MessagerieExpediteur = u"admin @example.org"_s;
    EXPECT_EQ(VerifieSaisie(messagerie), ErreurSaisie::MessagerieExpediteur);
}

TEST(ApplicationConfiguration, LangueEtRedemarrage) {
    Parametres p;
    p.Langue = u"Français"_s;
    Memos m;
    SaisieConfiguration s = SaisieDepuis(p, m);
    EXPECT_FALSE(AppliqueSaisie(s, p, m).LangueChangee);

    s.Langue = u"English"_s;
    EXPECT_TRUE(AppliqueSaisie(s, p, m).LangueChangee);

    s.AccesADPassword = u"s3cret "_s;
    s.AccesADLogin = u" admin "_s;
    s.MessagerieExpediteur = u" admin@example.org "_s;
    EXPECT_TRUE(AppliqueSaisie(s, p, m).RedemarrageDemande) << "the connection is opened only at start-up";
    EXPECT_EQ(p.AccesADPassword, u"s3cret "_s) << "a password is kept exactly";
    EXPECT_EQ(p.AccesADLogin, u"admin"_s);
    EXPECT_EQ(p.MessagerieExpediteur, u"admin@example.org"_s);

    Parametres premierLancement; // no language chosen yet: shown and kept as the built-in one
    EXPECT_FALSE(AppliqueSaisie(SaisieDepuis(premierLancement, m), premierLancement, m).LangueChangee);
    EXPECT_EQ(premierLancement.Langue, u"Français"_s);
}

TEST(EditionDesMemos, DeplacementsEtSuppressions) {
    EditionMemos e({{u"A"_s, 0}, Sep, {u"B"_s, 1}});
    EXPECT_FALSE(e.PeutMonter(0));
    EXPECT_FALSE(e.PeutDescendre(2));
    EXPECT_FALSE(e.PeutSupprimer(1)) << "the separator line stays";
    EXPECT_EQ(e.Descend(1), 2) << "the separator moves like an entry";
    EXPECT_EQ(e.Elements()[2], Sep);
    EXPECT_EQ(e.Supprime(1), 1);
    EXPECT_EQ(e.Supprime(0), 0);
    EXPECT_EQ(e.Elements(), (QList<EntreeMemo>{Sep}));

    EditionMemos dernier({Sep, {u"A"_s, 0}});
    EXPECT_EQ(dernier.Supprime(1), 0) << "the previous item takes the selection";
}

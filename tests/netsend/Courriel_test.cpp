// The message as the mail command reads it, and the command run without a shell: what a name or
// an address holds must never reach a shell, add a header or be read as an option.

#include "netsend/Courriel.h"
#include "netsend/Transport.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTimeZone>

namespace arbrix {
using namespace Qt::StringLiterals;
namespace {

TEST(Commande, SplitAsAShellWouldWithoutExpandingAnything) {
    const struct {
        QString texte;
        std::optional<QStringList> mots;
    } cas[] = {
        {u"  msmtp   --host=mail.example.org\t-i "_s,
         QStringList{u"msmtp"_s, u"--host=mail.example.org"_s, u"-i"_s}},
        {u"'/opt/my mail/send' \"--from=A \\\"B\\\"\" x\\ y"_s,
         QStringList{u"/opt/my mail/send"_s, u"--from=A \"B\""_s, u"x y"_s}},
        {u"cmd $HOME `id` '$(id)' \"\\$x\" ''"_s,
         QStringList{u"cmd"_s, u"$HOME"_s, u"`id`"_s, u"$(id)"_s, u"$x"_s, u""_s}},
        {u"cmd \"open"_s, std::nullopt},
    };
    for (const auto& c : cas)
        EXPECT_EQ(DecoupeCommande(c.texte), c.mots) << c.texte.toStdString();
}

// The header block of a composed message: each header line unfolded.
QStringList EnTetes(const QByteArray& message) {
    const QString tete = QString::fromLatin1(message.left(message.indexOf("\n\n")));
    QStringList lignes;
    for (const QString& ligne : tete.split(u'\n')) {
        if (ligne.startsWith(u' ') && !lignes.isEmpty())
            lignes.last() += ligne;
        else
            lignes << ligne;
    }
    return lignes;
}

TEST(Courriel, NamesAndAddressesStayInsideTheirHeader) {
    Courriel c{u"admin@example.org"_s,          u"o'brien$HOME`id`&x@example.org"_s,
               u"Jean \"JJ\" \\ Dupré $(id)"_s, u"Message de alice@example.test (Arbrix)"_s,
               u"Bonjour,\r\nété\n.\nfin"_s,    QDateTime(QDate(2024, 3, 5), QTime(9, 30), QTimeZone(3600))};
    const MessageCompose m = ComposeCourriel(c);
    ASSERT_TRUE(m.valide()) << m.cleMotif.toStdString();
    const QStringList tetes = EnTetes(m.octets);
    QStringList noms;
    for (const QString& ligne : tetes)
        noms << ligne.section(u':', 0, 0);
    EXPECT_EQ(noms, (QStringList{"From", "To", "Subject", "Date", "Message-ID", "MIME-Version",
                                 "Content-Type", "Content-Transfer-Encoding"}));
    EXPECT_TRUE(tetes[1].startsWith(u"To: =?UTF-8?B?"_s)) << tetes[1].toStdString();
    EXPECT_TRUE(tetes[1].endsWith(u" <o'brien$HOME`id`&x@example.org>"_s));
    EXPECT_EQ(tetes[3], u"Date: 05 Mar 2024 09:30:00 +0100"_s);
    const QByteArray corps = QByteArray::fromBase64(m.octets.mid(m.octets.indexOf("\n\n") + 2));
    EXPECT_EQ(QString::fromUtf8(corps), u"Bonjour,\r\nété\r\n.\r\nfin"_s);

    // An ASCII name is quoted, its quotes and backslashes escaped.
    c.nomDestinataire = u"Jean \"JJ\" \\ $HOME"_s;
    EXPECT_EQ(EnTetes(ComposeCourriel(c).octets)[1],
              u"To: \"Jean \\\"JJ\\\" \\\\ $HOME\" <o'brien$HOME`id`&x@example.org>"_s);

    // Refused for this recipient: what would end the header line or be read as an option.
    const QString adresse = u"TXT_MOTIF_ADRESSE_INVALIDE"_s, saut = u"TXT_MOTIF_SAUT_DE_LIGNE"_s;
    const struct {
        QString expediteur, adresse, nom, sujet, motif;
    } refus[] = {
        {{}, u"a@b.test\nBcc: x@y.test"_s, {}, u"s"_s, adresse},
        {{}, u"-oQ/tmp@b.test"_s, {}, u"s"_s, adresse},
        {{}, u"a b@c.test"_s, {}, u"s"_s, adresse},
        {{}, u"\"a\"@c.test"_s, {}, u"s"_s, adresse},
        {{}, u"Jean <a@c.test>"_s, {}, u"s"_s, adresse},
        {{}, u"sans-arobase"_s, {}, u"s"_s, adresse},
        {{}, u"a@c.test"_s, u"Jean\r\nBcc: x@y.test"_s, u"s"_s, saut},
        {{}, u"a@c.test"_s, u"Jean\u2028Dupont"_s, u"s"_s, saut},
        {{}, u"a@c.test"_s, {}, u"De alice\nBcc: x@y.test"_s, saut},
        {u"admin@x.test\nBcc: y@z.test"_s, u"a@c.test"_s, {}, u"s"_s, u"TXT_MOTIF_EXPEDITEUR_INVALIDE"_s},
    };
    for (const auto& r : refus) {
        const MessageCompose refuse =
            ComposeCourriel({r.expediteur, r.adresse, r.nom, r.sujet, u"x"_s, c.date});
        EXPECT_EQ(refuse.cleMotif, r.motif) << r.adresse.toStdString() << " / " << r.nom.toStdString();
        EXPECT_TRUE(refuse.octets.isEmpty());
    }

    // Without a sender the mail system chooses: no From line at all.
    c.expediteur.clear();
    EXPECT_TRUE(EnTetes(ComposeCourriel(c).octets).first().startsWith(u"To: "_s));
}

TEST(Courriel, LongNamesAreFoldedIntoEncodedWordsThatDecodeBack) {
    const QString nom = QString(u"Łukasz Żółć 😀 "_s).repeated(8);
    const QByteArray encode = EncodeEnTete(nom);
    QString decode;
    for (const QByteArray& ligne : encode.split('\n')) {
        EXPECT_LE(ligne.size(), 76);
        const QByteArray mot = ligne.trimmed();
        ASSERT_TRUE(mot.startsWith("=?UTF-8?B?") && mot.endsWith("?="));
        decode += QString::fromUtf8(QByteArray::fromBase64(mot.mid(10, mot.size() - 12)));
    }
    EXPECT_EQ(decode, nom);
}

// A stand-in for sendmail: records its arguments and its input in the folder, then runs the end
// of the script given.
QString FauxSendmail(const QTemporaryDir& dossier, const QString& nom, const QString& suite) {
    const QString chemin = dossier.filePath(nom);
    EXPECT_TRUE(test::EcritFichier(chemin, ("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" +
                                            dossier.filePath(u"arguments"_s) + "\"\ncat > \"" +
                                            dossier.filePath(u"entree"_s) + "\"\n" + suite + "\n")
                                               .toUtf8()));
    QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return chemin;
}

TEST(TransportCommande, RunsTheCommandWithoutAShellAndReportsWhyItFailed) {
    QTemporaryDir dossier;
    // The directory password given to the program must not reach the mail command.
    const QByteArray secret = "S3cret-mot-de-passe";
    qputenv("ARBRIX_PASSWORD", secret);
    const auto oublie = qScopeGuard([] { qunsetenv("ARBRIX_PASSWORD"); });
    const QString programme = FauxSendmail(dossier, u"mon sendmail"_s,
                                           u"env > '"_s + dossier.filePath(u"environnement"_s) + u"'"_s);
    const QString adresse = u"o'brien$HOME`touch pwned`&x@example.org"_s;
    const std::optional<QStringList> commande =
        CommandeMessagerie(u"'"_s + programme + u"' -i \"--from=Admin 'A'\""_s);
    ASSERT_TRUE(commande);
    int attentes = 0;
    const IssueEnvoi ok =
        TransportCommande(*commande).Envoie(adresse, "Subject: s\n\ncorps\n", [&] { ++attentes; });
    EXPECT_TRUE(ok.reussi) << ok.motif.toStdString();
    EXPECT_EQ(test::LitTexte(dossier.filePath(u"arguments"_s)),
              u"-i\n--from=Admin 'A'\n"_s + adresse + u'\n');
    EXPECT_EQ(test::LitTexte(dossier.filePath(u"entree"_s)), u"Subject: s\n\ncorps\n"_s);
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(u"pwned"_s)));
    const QString environnement = test::LitTexte(dossier.filePath(u"environnement"_s));
    EXPECT_TRUE(environnement.contains(u"PATH="_s));
    EXPECT_FALSE(environnement.contains(QString::fromUtf8(secret)));

    const struct {
        QString suite;
        int delaiMs;
        QString motif;
    } echecs[] = {
        {u"echo >&2; echo 'sendmail: unknown user' >&2; echo second >&2; exit 67"_s, 5000,
         u"sendmail: unknown user"_s},
        {u"exit 3"_s, 5000, u"la commande d'envoi a échoué (code 3)"_s},
        {u"echo 'still queued' >&2; sleep 5"_s, 300, u"still queued"_s},
        {u"exec sleep 5"_s, 300, u"pas de réponse de la commande d'envoi en 0 s"_s},
        {u"kill -9 $$"_s, 5000, u"la commande d'envoi a échoué (code 9)"_s},
    };
    for (const auto& e : echecs) {
        const QString faux = FauxSendmail(dossier, u"echec"_s, e.suite);
        const IssueEnvoi issue =
            TransportCommande({faux}, e.delaiMs).Envoie(u"a@b.test"_s, "x\n", [&] { ++attentes; });
        EXPECT_FALSE(issue.reussi) << e.suite.toStdString();
        EXPECT_EQ(issue.motif, e.motif) << e.suite.toStdString();
    }
    EXPECT_GT(attentes, 0);
    const IssueEnvoi absent =
        TransportCommande({dossier.filePath(u"absent"_s)}).Envoie(u"a@b.test"_s, "x", {});
    EXPECT_FALSE(absent.reussi);
    EXPECT_TRUE(absent.motif.contains(u"ne peut pas être lancée"_s));
}

TEST(TransportCommande, DefaultIsSendmailFromThePathAndAMissingProgramIsNoTransport) {
    QTemporaryDir dossier;
    const QString sendmail = FauxSendmail(dossier, u"sendmail"_s, u"exit 0"_s);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dossier.path().toUtf8());
    EXPECT_EQ(CommandeMessagerie({}), (QStringList{sendmail, u"-i"_s}));
    EXPECT_EQ(CommandeMessagerie(u"  "_s), (QStringList{sendmail, u"-i"_s}));
    EXPECT_EQ(CommandeMessagerie(u"sendmail -t -oi"_s), (QStringList{sendmail, u"-t"_s, u"-oi"_s}));
    EXPECT_EQ(CommandeMessagerie(u"nulle-part -i"_s), std::nullopt);
    EXPECT_EQ(CommandeMessagerie(dossier.filePath(u"arguments"_s)), std::nullopt); // not executable
    qputenv("PATH", path);
}

} // namespace
} // namespace arbrix

// Messages sent for real through msmtp to a throwaway SMTP server on a loopback address; the
// controller is the oracle for who has an address.

#include "TestDc.h"

#include "cli/LanceCli.h"
#include "shell/FichiersTest.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdlib>

namespace arbrix {
using namespace Qt::StringLiterals;
using namespace testdc;
namespace {

const QString Message = u"Réunion à 10 h — café ☕ pour tous.\nMerci,\nL'équipe \"IT\" $HOME"_s;
const QString AdresseRefusee = u"karim.benali@velmora.test"_s;

void Ecrit(const QString& chemin, const QByteArray& contenu) {
    ASSERT_TRUE(test::EcritFichier(chemin, contenu));
}

// A Python that has aiosmtpd: the system's first (a user's own Python may lack it).
QString PythonAvecAiosmtpd() {
    for (const QString& python : {u"/usr/bin/python3"_s, u"python3"_s}) {
        if (QProcess::execute(python, {u"-c"_s, u"import aiosmtpd"_s}) == 0)
            return python;
    }
    return {};
}

struct Recu {
    QString destinataires; // envelope, one a line
    QString enTetes;       // each line between line feeds
    QString corps;
};

class ServeurSmtp {
public:
    bool Demarre(const QString& python) {
        m_processus.start(
            python, {ARBRIX_TOOLS_DIR "/test-smtp.py"_L1, m_dossier.path(), u"--refuse"_s, AdresseRefusee});
        if (!m_processus.waitForReadyRead(10000))
            return false;
        port = m_processus.readLine().trimmed().toInt();
        return port > 0;
    }
    ~ServeurSmtp() {
        m_processus.kill();
        m_processus.waitForFinished();
    }

    QList<Recu> Recus() const {
        QList<Recu> recus;
        for (int i = 1; QFile::exists(m_dossier.filePath(u"%1.eml"_s.arg(i))); ++i) {
            const QString brut =
                test::LitTexte(m_dossier.filePath(u"%1.eml"_s.arg(i))).replace(u"\r\n"_s, u"\n"_s);
            const qsizetype fin = brut.indexOf(u"\n\n"_s);
            recus << Recu{test::LitTexte(m_dossier.filePath(u"%1.rcpt"_s.arg(i))),
                          u'\n' + brut.left(fin) + u'\n',
                          QString::fromUtf8(QByteArray::fromBase64(brut.mid(fin + 2).toLatin1()))};
        }
        return recus;
    }

    int port = 0;

private:
    QTemporaryDir m_dossier;
    QProcess m_processus;
};

// The "mail" of the account named in a report line, as the controller holds it.
QString MailSurLeDc(const QString& nom) {
    const QList<LdapEntry> trouves =
        searchAll(*AdminBackend(), {Dc().base(),
                                    SearchScope::Subtree,
                                    u"(|(sAMAccountName=%1)(sAMAccountName=%1$))"_s.arg(nom),
                                    {u"mail"_s}});
    EXPECT_EQ(trouves.size(), 1) << nom.toStdString();
    const LdapAttribute* mail = trouves.isEmpty() ? nullptr : trouves.first().find(u"mail");
    return mail ? QString::fromUtf8(mail->values.first()) : QString();
}

class MessagerieDc : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        const QString msmtp = QStandardPaths::findExecutable(u"msmtp"_s);
        const QString python = PythonAvecAiosmtpd();
        ASSERT_FALSE(msmtp.isEmpty()) << "msmtp is missing: run tools/install-deps.sh";
        ASSERT_FALSE(python.isEmpty()) << "python3-aiosmtpd is missing: run tools/install-deps.sh";
        ASSERT_TRUE(m_smtp.Demarre(python));
        setenv("LDAPTLS_CACERT", Dc().value("CA").toLocal8Bit().constData(), 1);
        qputenv("ARBRIX_PASSWORD", Dc().value("ADMIN_PASSWORD").toUtf8());

        const QString rc = m_dossier.filePath(u"msmtp rc"_s);
        Ecrit(rc, u"account default\nhost 127.0.0.1\nport %1\nauth off\ntls off\nfrom admin@velmora.test\n"_s
                      .arg(m_smtp.port)
                      .toUtf8());
        QFile::setPermissions(rc, QFile::ReadOwner | QFile::WriteOwner);
        m_reglages = m_dossier.filePath(u"Arbrix.ini"_s);
        Ecrit(m_reglages, u"[Config]\nLangue=Français\nMessagerieCommande=msmtp -C '%1' -i\n"
                          u"MessagerieExpéditeur=admin@velmora.test\n"_s.arg(rc)
                              .toUtf8());
        m_fichierMessage = m_dossier.filePath(u"message.txt"_s);
        Ecrit(m_fichierMessage, Message.toUtf8());
    }

    QStringList Options() const {
        return {u"--settings"_s, m_reglages,  u"--directory"_s,
                Dc().uri(),      u"--user"_s, Dc().value("ADMIN_LOGIN")};
    }

    QTemporaryDir m_dossier;
    ServeurSmtp m_smtp;
    QString m_reglages;
    QString m_fichierMessage;
};

TEST_F(MessagerieDc, EachAccountWithAnAddressUnderTheNodeGetsOneMessage) {
    const test::Resultat r =
        test::LanceCli(QStringList{u"send-message"_s, u"--message-file"_s, m_fichierMessage} + Options() +
                       QStringList{u"--type"_s, u"ou"_s, u"Informatique"_s});
    EXPECT_EQ(r.code, 1) << r.erreurs.toStdString(); // users without address, one refused
    // The workstations and servers have no mailbox: left out, and counted on the error output.
    static const QRegularExpression laisses(u"^(\\d+) ordinateur\\(s\\) laissé\\(s\\) de côté"_s,
                                            QRegularExpression::MultilineOption);
    const QRegularExpressionMatch ordinateurs = laisses.match(r.erreurs);
    ASSERT_TRUE(ordinateurs.hasMatch()) << r.erreurs.toStdString();
    EXPECT_GE(ordinateurs.captured(1).toInt(), 4);
    QStringList lignes = r.sortie.split(u'\n');
    ASSERT_GE(lignes.size(), 4) << r.sortie.toStdString();
    EXPECT_EQ(lignes.takeLast(), QString());
    const QString bilan = lignes.takeLast();
    EXPECT_EQ(lignes.takeLast(), QString());

    static const QRegularExpression forme(u"^Envoi du message à '([^']+)' : (OK|échec) \\((.*)\\)$"_s);
    QMap<QString, QString> adressesRecues; // address -> account
    QSet<QString> noms;
    int succes = 0, sansAdresse = 0;
    for (const QString& ligne : lignes) {
        const QRegularExpressionMatch m = forme.match(ligne);
        ASSERT_TRUE(m.hasMatch()) << ligne.toStdString();
        const QString nom = m.captured(1);
        EXPECT_FALSE(nom.endsWith(u'$')) << nom.toStdString();
        EXPECT_FALSE(noms.contains(nom.toLower())) << "twice: " << nom.toStdString();
        noms.insert(nom.toLower());
        const QString mail = MailSurLeDc(nom);
        if (mail.isEmpty()) {
            EXPECT_EQ(m.captured(3), u"aucune adresse électronique"_s) << ligne.toStdString();
            ++sansAdresse;
        } else if (mail == AdresseRefusee) {
            EXPECT_EQ(m.captured(2), u"échec"_s);
            EXPECT_TRUE(m.captured(3).startsWith(u"msmtp: "_s)) << ligne.toStdString();
            EXPECT_TRUE(m.captured(3).contains(AdresseRefusee)) << ligne.toStdString();
        } else {
            EXPECT_EQ(m.captured(2), u"OK"_s) << ligne.toStdString();
            EXPECT_EQ(m.captured(3), mail);
            adressesRecues.insert(mail, nom);
            ++succes;
        }
    }
    EXPECT_GE(sansAdresse, 1);
    EXPECT_GE(succes, 3);
    EXPECT_EQ(bilan,
              u"%1 message(s) envoyé(s) avec succès sur un total de %2"_s.arg(succes).arg(lignes.size()));

    const QList<Recu> recus = m_smtp.Recus();
    ASSERT_EQ(recus.size(), succes);
    for (const Recu& recu : recus) {
        const QString adresse = recu.destinataires.trimmed();
        ASSERT_TRUE(adressesRecues.contains(adresse)) << adresse.toStdString();
        adressesRecues.remove(adresse); // one message per address
        // The headers' shape is the message composition's test.
        EXPECT_TRUE(recu.enTetes.contains(u"\nFrom: admin@velmora.test\n"_s)) << recu.enTetes.toStdString();
        EXPECT_TRUE(recu.enTetes.contains(u'<' + adresse + u">\n"_s)) << recu.enTetes.toStdString();
        EXPECT_EQ(recu.corps, QString(Message).replace(u"\n"_s, u"\r\n"_s));
    }
}

// The session is opened with the password from ARBRIX_PASSWORD: it reaches neither the mail
// command (its arguments, environment, input) nor what the program writes. The message comes
// from standard input.
TEST_F(MessagerieDc, ThePasswordReachesNeitherTheMailCommandNorTheOutput) {
    const QString trace = m_dossier.filePath(u"trace"_s);
    const QString script = m_dossier.filePath(u"courrier"_s);
    Ecrit(script, u"#!/bin/sh\n{ printf '%s\\n' \"$0\" \"$@\"; env; cat; } >> '%1'\n"
                  u"echo 'refus simule' >&2\nexit 1\n"_s.arg(trace)
                      .toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Ecrit(m_reglages, u"[Config]\nLangue=Français\nMessagerieCommande='%1' -i\n"
                      u"MessagerieExpéditeur=admin@velmora.test\n"_s.arg(script)
                          .toUtf8());
    QProcess cli;
    cli.start(QStringLiteral(ARBRIX_CLI_PROGRAM),
              QStringList{u"send-message"_s} + Options() + QStringList{u"amartin"_s});
    ASSERT_TRUE(cli.waitForStarted());
    cli.write(u"Bonjour Alice,\nà demain.\n"_s.toUtf8());
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString sortie = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    EXPECT_TRUE(sortie.contains(u"refus simule"_s)) << sortie.toStdString();
    const QString motDePasse = Dc().value("ADMIN_PASSWORD");
    ASSERT_FALSE(motDePasse.isEmpty());
    EXPECT_FALSE(sortie.contains(motDePasse)) << sortie.toStdString();
    const QString vu = test::LitTexte(trace);
    EXPECT_TRUE(vu.contains(u"alice.martin@velmora.test"_s)) << vu.toStdString();
    EXPECT_TRUE(vu.contains(QString::fromLatin1(u"Bonjour Alice,\r\nà demain.\r\n"_s.toUtf8().toBase64())));
    EXPECT_FALSE(vu.contains(motDePasse));
}

} // namespace
} // namespace arbrix

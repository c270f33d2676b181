#include "i18n/Traductions.h"
#include "netsend/Destinataires.h"
#include "netsend/Doubles.h"
#include "netsend/ui/frmNetsendEnvoi.h"
#include "netsend/ui/frmNetsendSaisie.h"

#include <QtTest>
#include <QtWidgets>

using namespace arbrix;
using namespace Qt::StringLiterals;

class TestFrmNetsend : public QObject {
    Q_OBJECT

private slots:
    void init() { ChargeTraductions(QString()); }

    void saisieAttendUnTexteDe500CaracteresAuPlus() {
        frmNetsendSaisie f;
        f.show();
        auto* ok = f.findChild<QPushButton*>(u"btnOK"_s);
        QVERIFY(!ok->isEnabled());
        f.findChild<QPlainTextEdit*>(u"txtMessage"_s)->setPlainText(QString(600, u'é'));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(f.MessageNetSend(), QString(500, u'é'));

        // The subject starts as given and is taken as typed; the note says who is left out, in
        // the window's language.
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        frmNetsendSaisie s(nullptr, u"Message de alice (Arbrix)"_s, TexteOrdinateursLaisses(2));
        s.show();
        auto* sujet = s.findChild<QLineEdit*>(u"txtSujet"_s);
        QCOMPARE(sujet->text(), u"Message de alice (Arbrix)"_s);
        QCOMPARE(s.findChild<QLabel*>(u"lblSujet"_s)->text(), u"&Subject:"_s);
        QCOMPARE(s.findChild<QLabel*>(u"lblNote"_s)->text(),
                 u"2 computer(s) left out: a computer account has no mailbox."_s);
        sujet->setText(u"Coupure ce soir"_s);
        QCOMPARE(s.Sujet(), u"Coupure ce soir"_s);
        QVERIFY(f.findChild<QLabel*>(u"lblNote"_s)->isHidden());
        ChargeTraductions(QString());

        frmNetsendSaisie g; // Escape leaves no message
        g.show();
        QTest::keyClicks(g.findChild<QPlainTextEdit*>(u"txtMessage"_s), u"Bonjour"_s);
        QTest::keyClick(&g, Qt::Key_Escape);
        QVERIFY(g.MessageNetSend().isEmpty());
    }

    void annulerPendantLeDeuxiemeDeCinqEtFermerSeulementALaFin() {
        test::AnnuaireScripte annuaire;
        for (int i = 1; i <= 5; ++i)
            annuaire.adresses.insert(u"u%1"_s.arg(i), {u"u%1@x.test"_s.arg(i), {}, {}});
        test::TransportScripte transport;
        frmNetsendEnvoi f(test::Comptes(5), {u"m"_s, {}, u"a"_s}, annuaire, transport);
        auto* bouton = f.findChild<QPushButton*>(u"btnAnnulerFermer"_s);
        bool ouverteApresFermeture = false;
        transport.pendant = [&](int numero) {
            if (numero != 2)
                return;
            QTest::mouseClick(bouton, Qt::LeftButton);
            QVERIFY(!bouton->isEnabled()); // "Fermer" cannot close under the send in progress
            f.close();                     // nor can the close box
            QTest::keyClick(&f, Qt::Key_Escape);
            ouverteApresFermeture = f.isVisible();
        };
        f.show();
        QTRY_VERIFY(!f.EnvoiEnCours() && f.Bilan().total == 5);
        QVERIFY(ouverteApresFermeture);
        QCOMPARE(transport.adresses, (QStringList{u"u1@x.test"_s, u"u2@x.test"_s}));
        auto* rapport = f.findChild<QListWidget*>(u"lstRapport"_s);
        QCOMPARE(rapport->count(), 4);
        QCOMPARE(rapport->item(3)->text(), u"Opération annulée par l'utilisateur..."_s);
        QVERIFY(bouton->isEnabled());
        QTest::mouseClick(bouton, Qt::LeftButton);
        QVERIFY(!f.isVisible());
    }
};

QTEST_MAIN(TestFrmNetsend)
#include "frmNetsend_test.moc"

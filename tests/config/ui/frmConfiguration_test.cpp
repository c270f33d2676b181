#include "../../shell/ui/Banc.h"
#include "config/ui/frmConfiguration.h"
#include "i18n/Traductions.h"

using namespace arbrix;
using namespace Qt::StringLiterals;

class TestFrmConfiguration : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ChargeTraductions(QString());
        for (const char* nom : {"English.lng", "Deutsch.lng"}) {
            QFile f(langues.filePath(QString::fromUtf8(nom)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        p = Parametres();
        p.Langue = u"Français"_s;
        m = Memos();
        m.ChargeTexte(u"0|1|Compta"_s + QChar(30) + u"1|0|Paie"_s + QChar(30) + u"1|0|Achats"_s);
    }

    // The fields of the access mode follow it; the clear-text box shows its warning while
    // checked; the analysis modes count from 1.
    void ouvreAvecLesValeurs() {
        p.AccesAD = 1;
        p.AnalyseParDefaut = 5;
        frmConfiguration f(p, m, langues.path());
        QVERIFY(!champ(f, "txtAccèsADDomaine")->isEnabled());
        auto* clair = f.findChild<QCheckBox*>(u"chkAccèsADSansTLS"_s);
        auto* avertissement = f.findChild<QLabel*>(u"lblAvertissementSansTLS"_s);
        QVERIFY(!clair->isChecked() && avertissement->isHidden());
        clair->click();
        QVERIFY(!avertissement->isHidden());
        // No keyring in this test: the window says the file keeps the password.
        QCOMPARE(f.findChild<QLabel*>(u"lblEmplacementMotDePasse"_s)->text(),
                 Traduction(u"TXT_MOT_DE_PASSE_FICHIER"));
        QTest::mouseClick(radio(f, 0), Qt::LeftButton);
        QVERIFY(!champ(f, "txtAccèsADLogin")->isEnabled());
        QVERIFY(!clair->isEnabled() && avertissement->isHidden());
        QCOMPARE(f.findChild<QComboBox*>(u"cboAnalyseParDéfaut"_s)->currentIndex(), 4);
    }

    // A refusal is told and keeps the window; each rule is the core's test.
    void refusPuisAcceptation() {
        const Parametres avant = p;
        frmConfiguration f(p, m, langues.path());
        f.show();
        banc::Automate automate;
        QTest::mouseClick(radio(f, 2), Qt::LeftButton);
        QTest::mouseClick(bouton(f, "btnOK"), Qt::LeftButton);
        QCOMPARE(automate.messages, QStringList{u"Le champ DOMAINE n'a pas été renseigné..."_s});
        QVERIFY(f.DialogueAnnule());
        QCOMPARE(p.AccesAD, avant.AccesAD);

        QVERIFY(f.isVisible());

        QTest::keyClicks(champ(f, "txtAccèsADDomaine"), u"example.test"_s);
        champ(f, "txtNbElémentsMémorisésMax")->setText(u"0"_s);
        QTest::mouseClick(bouton(f, "btnOK"), Qt::LeftButton);
        QCOMPARE(automate.messages.size(), 1);
        QVERIFY(!f.DialogueAnnule());
        QVERIFY(f.Issue().RedemarrageDemande);
        QCOMPARE(p.AccesAD, 2);
        QCOMPARE(p.AccesADDomaine, u"example.test"_s);
        QCOMPARE(p.NbElementsMemorisesMax, 0);
        QCOMPARE(m.TexteSauvegarde(), u"0|1|Compta"_s); // no recent entry kept, the pinned one stays
    }

    void langueEtMemosModifies() {
        frmConfiguration f(p, m, langues.path());
        f.show();
        banc::Automate automate;
        f.findChild<QComboBox*>(u"cboLangue"_s)->setCurrentText(u"English"_s);
        QListWidget* liste = f.findChild<QListWidget*>(u"lstMémos"_s);
        liste->setCurrentRow(2);
        QTest::mouseClick(bouton(f, "btnMonter"), Qt::LeftButton); // Paie pinned
        QCOMPARE(liste->currentRow(), 1);
        liste->setCurrentRow(3);
        QTest::mouseClick(bouton(f, "btnSupprimer"), Qt::LeftButton);
        QCOMPARE(liste->count(), 3);
        QTest::mouseClick(bouton(f, "btnOK"), Qt::LeftButton);

        QCOMPARE(automate.messages, QStringList{Traduction(u"MSG_CHANGEMENT_LANGUE")});
        QCOMPARE(p.Langue, u"English"_s);
        QCOMPARE(m.TexteSauvegarde(), u"0|1|Compta"_s + QChar(30) + u"1|1|Paie"_s);
    }

    void annulerNeChangeRien() {
        frmConfiguration f(p, m, langues.path());
        f.show();
        f.findChild<QComboBox*>(u"cboLangue"_s)->setCurrentText(u"Deutsch"_s);
        f.findChild<QListWidget*>(u"lstMémos"_s)->setCurrentRow(0);
        QTest::mouseClick(bouton(f, "btnSupprimer"), Qt::LeftButton);
        QTest::mouseClick(bouton(f, "btnAnnuler"), Qt::LeftButton);
        QVERIFY(f.DialogueAnnule());
        QCOMPARE(p.Langue, u"Français"_s);
        QCOMPARE(m.Nombre(), 4);
    }

private:
    static QRadioButton* radio(QWidget& f, int i) {
        return f.findChild<QRadioButton*>(u"optAccèsAD_"_s + QString::number(i));
    }
    static QLineEdit* champ(QWidget& f, const char* nom) {
        return f.findChild<QLineEdit*>(QString::fromUtf8(nom));
    }
    static QPushButton* bouton(QWidget& f, const char* nom) {
        return f.findChild<QPushButton*>(QString::fromUtf8(nom));
    }

    QTemporaryDir langues;
    Parametres p;
    Memos m;
};

QTEST_MAIN(TestFrmConfiguration)
#include "frmConfiguration_test.moc"

#include "Banc.h"

#include "i18n/Traductions.h"
#include "tree/Analyse.h"
#include "tree/ui/ModeleArbre.h"

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnSales = u"OU=Sales (EMEA),OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
const QString dnMarc = u"CN=Marc Petit,"_s + dnSales;
const QString ficheEchantillon = ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif";

QString infoBulle(Banc& banc, const QString& debut) {
    auto* modele = static_cast<ModeleArbre*>(banc.controle<QTreeView>(u"tvwGroupes"_s)->model());
    return modele->data(modele->indexDe(banc.noeud(debut)), Qt::ToolTipRole).toString();
}
} // namespace

class BarreEtatTest : public QObject {
    Q_OBJECT

private slots:
    // The texts are the core's, read on both directories by the conformance suite; here the labels
    // show them in English and follow a new analysis, and the account check reaches the tooltips.
    void statusBarAndTooltips() {
        Banc banc(u"English"_s, u"ContrôlerVerrouilléExpiré=-1\n"_s);
        QVERIFY(banc.demarre({dnSales}));
        QCOMPARE(banc.controle<QLabel>(u"lblBarreAnnuaire"_s)->text(), u"Directory: "_s + ficheEchantillon);
        QCOMPARE(infoBulle(banc, u"Marc Petit"_s), u"User account, locked\n"_s + dnMarc);
        banc.fenetre->LanceAnalyse(Mode::Ordinateurs, dnSales);
        QCOMPARE(banc.controle<QLabel>(u"lblBarreMode"_s)->text(),
                 Traduction(u"TXT_ANALYSE_STANDARD_ORDINATEURS"));
        QCOMPARE(banc.controle<QLabel>(u"lblBarreNoeuds"_s)->text(),
                 QString::number(banc.fenetre->arbre().Count()) + u" node(s)"_s);
    }

    // New access settings need a restart: the user is asked, and "later" keeps the window open
    // with the settings kept for the next start. The window says that the variable decides.
    void restartIsAskedAndTheVariableShown() {
        Banc banc;
        QVERIFY(banc.demarre());
        QString note;
        banc.automate.ajoute([&note](QWidget* w) {
            note = w->findChild<QLabel*>(u"lblAnnuaireEnvironnement"_s)->text();
            w->findChild<QLineEdit*>(u"txtAccèsADServeur"_s)->setText(u"ldap://autre.example.test"_s);
            w->findChild<QPushButton*>(u"btnOK"_s)->click();
        });
        banc.automate.accepteMessage(QMessageBox::No);
        banc.fenetre->mnuOptionsConfiguration_Click();
        QVERIFY(note.contains(ficheEchantillon));
        QCOMPARE(banc.automate.messages,
                 QStringList{Traduction(u"MSG_REDEMARRER_MAINTENANT").replace(u"\r\n"_s, u"\n"_s)});
        QVERIFY(!banc.etat->RedemarrageDemande);
        QVERIFY(banc.etat->ConfigurationModifiee);
        QCOMPARE(banc.etat->Config.AccesADServeur, u"ldap://autre.example.test"_s);
    }

    // The copies act on the key press: letting go of Ctrl before C still copies.
    void copyWhenCtrlIsReleasedFirst() {
        Banc banc;
        QVERIFY(banc.demarre({dnSales}));
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        QClipboard* pressePapiers = QGuiApplication::clipboard();
        pressePapiers->clear();
        banc.fenetre->arbre().Selectionne(banc.fenetre->arbre().Racine());
        vue->setFocus();
        QTest::keyPress(vue, Qt::Key_C, Qt::ControlModifier);
        QTest::keyRelease(vue, Qt::Key_Control, Qt::NoModifier);
        QTest::keyRelease(vue, Qt::Key_C, Qt::NoModifier);
        QCOMPARE(pressePapiers->text(), u"Sales (EMEA)"_s); // Ctrl+C in the search box: the window test's
    }
};

QTEST_MAIN(BarreEtatTest)
#include "barreetat_test.moc"

// The main window driven as a user drives it, on the sample domain: start-up with a DN, typing
// and searching, the occurrence choice, Stop during a build, the memorised entries across a
// restart, window rules, and the English translation.

#include "Banc.h"

#include "menus/MenusNoeuds.h"
#include "shell/ui/frmTraitementEnCours.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QTreeWidget>

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnVentes = u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
const QString dnVelmora = u"OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class FrmPrincipalTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnACommandLineDn() {
        Banc banc;
        QVERIFY(banc.démarre({dnVentes}));
        Arbre& arbre = banc.fenêtre->arbre();
        QVERIFY(!arbre.isEmpty());
        QVERIFY(arbre.Racine()->Text().startsWith(u"Ventes"_s));
        QVERIFY(arbre.Racine()->Expanded());
        QVERIFY(banc.contrôle<QRadioButton>(u"optType_0"_s)->isChecked());
        QCOMPARE(banc.contrôle<QComboBox>(u"cboRecherche"_s)->currentText(), u"Ventes"_s);
        // The caption names the user once connected.
        QVERIFY(banc.fenêtre->windowTitle().contains(u" - "_s));
        // The view shows the built tree, root expanded.
        auto* vue = banc.contrôle<QTreeView>(u"tvwGroupes"_s);
        QCOMPARE(vue->model()->rowCount(), 1);
        QVERIFY(vue->isExpanded(vue->model()->index(0, 0)));
        QVERIFY(vue->model()->rowCount(vue->model()->index(0, 0)) > 0);
        QVERIFY(banc.automate.messages.isEmpty());
    }

    void unusableDirectoryExplainsOffersConfigurationAndEnds() {
        Banc banc;
        qputenv("ARBRIX_DIRECTORY", "/nowhere/missing.ldif");
        const QByteArray avant = [&] {
            QFile f(banc.cheminIni());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        banc.automate.accepteMessage(QMessageBox::No);
        QVERIFY(!banc.démarre({dnVentes}));
        QCOMPARE(banc.automate.messages.size(), 1);
        QVERIFY(banc.automate.messages[0].startsWith(u"Impossible de déterminer le domaine root"_s));
        QVERIFY(banc.automate.messages[0].endsWith(u"l'ActiveDirectory ?"_s));
        QCOMPARE(banc.automate.icônes[0], QMessageBox::Critical);
        QVERIFY(banc.fenêtre->arbre().isEmpty());
        // Nothing is saved when the program ends this way.
        QFile f(banc.cheminIni());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), avant);
    }

    void typedNameThenGoAndBoxKeys() {
        Banc banc;
        QVERIFY(banc.démarre());
        auto* boîte = banc.contrôle<QComboBox>(u"cboRecherche"_s);
        auto* go = banc.contrôle<QPushButton>(u"btnChercher"_s);
        auto* plus = banc.contrôle<QPushButton>(u"btnChercherPlus"_s);
        QVERIFY(!go->isEnabled() && !plus->isEnabled());
        QTest::mouseClick(banc.contrôle<QRadioButton>(u"optType_1"_s), Qt::LeftButton);
        QTest::keyClicks(boîte->lineEdit(), u"Ventes - Tous"_s);
        QVERIFY(go->isEnabled() && plus->isEnabled());
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(banc.fenêtre->arbre().Racine());
        QVERIFY(banc.fenêtre->arbre().Racine()->Text().startsWith(u"Ventes - Tous"_s));
        // The search was memorised as a recent entry, below the separator line.
        QCOMPARE(banc.fenêtre->mémos().Nombre(), 2);
        QCOMPARE(boîte->count(), 2);
        QCOMPARE(boîte->itemText(1), u"Ventes - Tous"_s);
        // The root's description is shown under the tree.
        QVERIFY(banc.contrôle<QLabel>(u"lblDescription"_s)->isVisible());
        QCOMPARE(banc.contrôle<QLabel>(u"lblDescription"_s)->text(), u"Toute la direction commerciale"_s);

        // Enter in the box runs the search too; an unknown name says so and builds nothing.
        boîte->lineEdit()->clear();
        QTest::keyClicks(boîte->lineEdit(), u"Nulle part"_s);
        banc.automate.accepteMessage();
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(banc.automate.messages.size(), 1);
        QVERIFY(banc.automate.messages[0].contains(u"Nulle part"_s));
        QCOMPARE(banc.automate.icônes[0], QMessageBox::Warning);
        QVERIFY(banc.fenêtre->arbre().isEmpty());
        QVERIFY(!banc.contrôle<QLabel>(u"lblDescription"_s)->isVisible());
    }

    void completionFromMemorisedEntries() {
        Banc banc(u"Français"_s, u"Mémos=0|1|Ventes\x1e"
                                 u"1|0|Ventes - Tous\x1e"
                                 u"1|0|GS Informatique\n"_s);
        QVERIFY(banc.démarre());
        auto* boîte = banc.contrôle<QComboBox>(u"cboRecherche"_s);
        auto* liste = banc.contrôle<QListWidget>(u"lstComplétion"_s);
        QCOMPARE(boîte->count(), 4); // pinned, separator line, two recent
        QTest::keyClicks(boîte->lineEdit(), u"ven"_s);
        QVERIFY(liste->isVisible());
        QCOMPARE(liste->count(), 2);
        QCOMPARE(liste->item(0)->text(), u"Ventes"_s); // pinned first
        QCOMPARE(liste->currentRow(), -1);
        // Up at no selection moves nothing; Down copies the candidate and its type.
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Up);
        QCOMPARE(boîte->currentText(), u"ven"_s);
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Down);
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Down);
        QCOMPARE(boîte->currentText(), u"Ventes - Tous"_s);
        QVERIFY(banc.contrôle<QRadioButton>(u"optType_1"_s)->isChecked());
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Down); // already the last
        QCOMPARE(boîte->currentText(), u"Ventes - Tous"_s);
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Up);
        QCOMPARE(boîte->currentText(), u"Ventes"_s);
        QVERIFY(banc.contrôle<QRadioButton>(u"optType_0"_s)->isChecked());

        // Shift+Delete forgets the selected entry; the separator line stays.
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(banc.fenêtre->mémos().Nombre(), 3);
        QCOMPARE(liste->count(), 1);
        QCOMPARE(boîte->currentText(), u"Ventes - Tous"_s);
        QCOMPARE(boîte->itemText(0), SéparateurMémos());

        // A click on a candidate takes it; Escape empties the box and hides the list.
        boîte->lineEdit()->clear();
        QTest::keyClicks(boîte->lineEdit(), u"gs"_s);
        QCOMPARE(liste->count(), 1);
        const QRect ligne = liste->visualItemRect(liste->item(0));
        QTest::mouseMove(liste->viewport(), ligne.center());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ligne.center());
        QTRY_VERIFY(!liste->isVisible());
        QCOMPARE(boîte->currentText(), u"GS Informatique"_s);
        QCOMPARE(boîte->lineEdit()->selectedText(), u"GS Informatique"_s);
        QTest::keyClick(boîte->lineEdit(), Qt::Key_End);
        QTest::keyClicks(boîte->lineEdit(), u" x"_s);
        QVERIFY(!liste->isVisible());
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Backspace);
        QVERIFY(liste->isVisible());
        QTest::keyClick(boîte->lineEdit(), Qt::Key_Escape);
        QVERIFY(!liste->isVisible());
        QVERIFY(boîte->currentText().isEmpty());
        QVERIFY(!banc.contrôle<QPushButton>(u"btnChercher"_s)->isEnabled());
    }

    void ambiguousNameOffersTheOccurrenceList() {
        Banc banc;
        QVERIFY(banc.démarre());
        auto* boîte = banc.contrôle<QComboBox>(u"cboRecherche"_s);
        QTest::mouseClick(banc.contrôle<QRadioButton>(u"optType_0"_s), Qt::LeftButton);
        QTest::keyClicks(boîte->lineEdit(), u"Ventes*"_s);
        QStringList proposés;
        banc.automate.ajoute([&proposés](QWidget* w) {
            QCOMPARE(w->objectName(), u"frmListeOccurrences"_s);
            auto* liste = w->findChild<QTreeWidget*>(u"lvwOccurrences"_s);
            for (int i = 0; i < liste->topLevelItemCount(); ++i)
                proposés << liste->topLevelItem(i)->text(0);
            for (int i = 0; i < liste->topLevelItemCount(); ++i)
                if (liste->topLevelItem(i)->text(0) == u"Ventes (EMEA)"_s)
                    liste->setCurrentItem(liste->topLevelItem(i));
            w->findChild<QPushButton*>(u"btnOK"_s)->click();
        });
        QTest::mouseClick(banc.contrôle<QPushButton>(u"btnChercher"_s), Qt::LeftButton);
        // O.U.s and groups found by the wildcard are offered together.
        QVERIFY(proposés.contains(u"Ventes"_s));
        QVERIFY(proposés.contains(u"Ventes France"_s));
        QVERIFY(proposés.contains(u"Ventes - Tous"_s));
        QVERIFY(banc.fenêtre->arbre().Racine()->Text().startsWith(u"Ventes (EMEA)"_s));
        QVERIFY(banc.contrôle<QRadioButton>(u"optType_1"_s)->isChecked());

        // Cancelling the choice builds nothing.
        boîte->setEditText(u"Ventes*"_s);
        banc.automate.ajoute([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        QTest::mouseClick(banc.contrôle<QPushButton>(u"btnChercher"_s), Qt::LeftButton);
        QVERIFY(banc.fenêtre->arbre().isEmpty());
    }

    void stopDuringABuild() {
        Banc banc;
        QVERIFY(banc.démarre());
        bool stoppé = false;
        // Stop is pressed as soon as the progress window shows.
        QTimer guet;
        connect(&guet, &QTimer::timeout, this, [&] {
            auto* progrès = banc.fenêtre->findChild<frmTraitementEnCours*>();
            if (!stoppé && progrès && progrès->isVisible()) {
                QVERIFY(progrès->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                QTest::mouseClick(progrès->findChild<QPushButton*>(u"btnStop"_s), Qt::LeftButton);
                stoppé = true;
            }
        });
        guet.start(0);
        banc.automate.ajoute([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        banc.automate.ajoute([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        banc.fenêtre->LanceAnalyse(1, dnVelmora);
        guet.stop();
        QVERIFY(stoppé);
        QVERIFY(!banc.automate.messages.isEmpty());
        QCOMPARE(banc.automate.messages[0], u"Opération annulée par l'utilisateur..."_s);
        QCOMPARE(banc.automate.titres[0], banc.fenêtre->windowTitle().section(u" - "_s, 0, 0));
        // The partial tree stays; the progress window is gone; the tree takes input again.
        QVERIFY(!banc.fenêtre->arbre().isEmpty());
        QVERIFY(!banc.fenêtre->TraitementEnCoursAffiché());
        QVERIFY(banc.contrôle<QTreeView>(u"tvwGroupes"_s)->isEnabled());
        // A full build of the same O.U. holds more.
        const qsizetype partiel = banc.fenêtre->arbre().Count();
        banc.automate.ajoute([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        banc.fenêtre->LanceAnalyse(1, dnVelmora);
        QVERIFY(banc.fenêtre->arbre().Count() > partiel);
    }

    void secondSearchAndClosingDuringABuild() {
        Banc banc;
        QVERIFY(banc.démarre());
        bool fait = false;
        QTimer guet;
        connect(&guet, &QTimer::timeout, this, [&] {
            if (!fait && banc.fenêtre->TraitementEnCoursAffiché()) {
                fait = true;
                // Ignored: the running build keeps its tree.
                banc.fenêtre->LanceAnalyse(1, u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s);
                // Stops the build, then closes.
                banc.fenêtre->close();
                QVERIFY(banc.fenêtre->isVisible());
            }
        });
        guet.start(0);
        banc.fenêtre->LanceAnalyse(1, dnVelmora);
        guet.stop();
        QVERIFY(fait);
        QVERIFY(banc.fenêtre->arbre().Racine()->Text().startsWith(u"Velmora"_s));
        QVERIFY(!banc.fenêtre->isVisible());
        QVERIFY(!banc.fenêtre->AnalyseEnCours());
        QCOMPARE(banc.automate.messages.value(0), u"Opération annulée par l'utilisateur..."_s);
        // The closing wrote the memorised entries.
        QFile ini(banc.cheminIni());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QString contenu = QString::fromUtf8(ini.readAll());
        QVERIFY2(contenu.contains(u"Mémos=0|0|Velmora"_s), qPrintable(contenu));
    }

    void memorisedEntriesAndOptionsSurviveARestart() {
        Banc banc;
        QVERIFY(banc.démarre({dnVentes}));
        banc.fenêtre->findChild<QAction*>(u"mnuOptionsMémoriserTaille"_s)->trigger();
        banc.fenêtre->resize(640, 480);
        banc.ferme();
        QVERIFY(banc.démarre());
        auto* boîte = banc.contrôle<QComboBox>(u"cboRecherche"_s);
        // Saved as one recent entry, loaded back without a separator line.
        QCOMPARE(boîte->count(), 1);
        QCOMPARE(boîte->itemText(0), u"Ventes"_s);
        QCOMPARE(banc.fenêtre->mémos().PositionSéparateur(), Mémos::SansSéparateurToutRécent);
        QVERIFY(banc.fenêtre->findChild<QAction*>(u"mnuOptionsMémoriserTaille"_s)->isChecked());
        QCOMPARE(banc.fenêtre->size(), QSize(640, 480));
        QVERIFY(banc.fenêtre->arbre().isEmpty()); // no command line, no analysis
    }

    void windowRules() {
        Banc banc;
        QVERIFY(banc.démarre());
        // The smallest size is 4500 x 3000 twips.
        banc.fenêtre->resize(100, 100);
        QCOMPARE(banc.fenêtre->size(), QSize(300, 200));
        // Find items follow the tree and the searched text.
        QMenu* édition = banc.fenêtre->findChild<QMenu*>(u"mnuEdition"_s);
        auto* rechercher = banc.fenêtre->findChild<QAction*>(u"mnuEditionRechercher"_s);
        auto* suivant = banc.fenêtre->findChild<QAction*>(u"mnuEditionRechercherSuivant"_s);
        emit édition->aboutToShow();
        QVERIFY(!rechercher->isEnabled());
        QVERIFY(!suivant->isEnabled());
        banc.fenêtre->LanceAnalyse(1, dnVentes);
        emit édition->aboutToShow();
        QVERIFY(rechercher->isEnabled());
        // The O.U. choice and the always-on-top option.
        auto* auDessus = banc.fenêtre->findChild<QAction*>(u"mnuOptionsToujoursAuDessus"_s);
        auDessus->trigger();
        QVERIFY(banc.fenêtre->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(banc.fenêtre->isVisible());
        QVERIFY(banc.état->OptionsFenêtreModifiées);
        // Minimising with the tray option but no tray: the window just minimises.
        banc.fenêtre->findChild<QAction*>(u"mnuOptionsMinimiserSystray"_s)->trigger();
        banc.fenêtre->showMinimized();
        QTest::qWait(20);
        QVERIFY(!banc.fenêtre->IcôneSystrayAffichée());
        // The analysis-mode menu leaves out the default mode.
        MenusScriptés menus;
        banc.fenêtre->showNormal();
        banc.fenêtre->btnChercherPlus_MouseDown();
        QCOMPARE(menus.affichés, 1);
        QCOMPARE(menus.dernier.Eléments().size(), 5);
        QVERIFY(!menus.dernier.Elément(1));
        QVERIFY(menus.dernier.Elément(6));
    }

    void englishTranslatesEveryWindow() {
        Banc banc(u"English"_s);
        QVERIFY(banc.démarre({dnVentes}));
        QCOMPARE(banc.contrôle<QLabel>(u"lblChercher"_s)->text(), u"Search for"_s);
        QStringList textes;
        for (QLabel* l : banc.fenêtre->findChildren<QLabel*>())
            textes << l->text();
        for (QAbstractButton* b : banc.fenêtre->findChildren<QAbstractButton*>())
            textes << b->text();
        for (QGroupBox* g : banc.fenêtre->findChildren<QGroupBox*>())
            textes << g->title();
        for (QMenu* m : banc.fenêtre->findChildren<QMenu*>()) {
            textes << m->title();
            for (QAction* a : m->actions())
                textes << a->text();
        }
        // Context menus and the mode menu are built from the catalogue.
        MenusScriptés menus;
        banc.fenêtre->AfficheMenuNoeud(banc.fenêtre->arbre().Racine());
        for (const ElémentMenu& e : menus.dernier.Eléments())
            textes << e.libellé;
        banc.fenêtre->btnChercherPlus_MouseDown();
        for (const ElémentMenu& e : menus.dernier.Eléments())
            textes << e.libellé;
        // The progress window.
        banc.fenêtre->AfficheTraitementEnCours();
        auto* progrès = banc.fenêtre->findChild<frmTraitementEnCours*>();
        textes << progrès->windowTitle();
        for (QWidget* w : progrès->findChildren<QWidget*>())
            if (auto* l = qobject_cast<QLabel*>(w))
                textes << l->text();
            else if (auto* b = qobject_cast<QPushButton*>(w))
                textes << b->text();
        banc.fenêtre->MasqueTraitementEnCours();
        const QStringList françaisConnus =
            u"Occurrence à rechercher|Recherche|G&roupe|Géré par :|&Fichier|&Quitter|&Edition|&Rechercher..."
            u"|&Suivant|&Précédent|Mémoriser &position fenêtre|&Restaurer|&Annuler|A&nnuler"
            u"|Traitement en cours :|&Stop !"_s.split(u'|');
        const QRegularExpression accentsFrançais(u"[éèêàçùô]|Copier|Ouvrir|Analyse|Créer|Envoyer"_s);
        for (const QString& t : textes) {
            QVERIFY2(!françaisConnus.contains(t), qPrintable(t));
            QVERIFY2(!accentsFrançais.match(t).hasMatch() || t.contains(u"Ventes"_s) ||
                         t == banc.fenêtre->windowTitle() || t.contains(u"Commerciaux"_s),
                     qPrintable(t));
        }
    }
};

QTEST_MAIN(FrmPrincipalTest)
#include "frmprincipal_test.moc"

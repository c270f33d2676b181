#include "Banc.h"

#include "groupops/Appartenances.h"
#include "groupops/OperationsAnnuaire.h"
#include "menus/MenusNoeuds.h"
#include "shell/FichiersTest.h"
#include "shell/ui/frmTraitementEnCours.h"
#include "tree/ui/ModeleArbre.h"

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnVentes = u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
const QString dnVelmora = u"OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class FrmPrincipalTest : public QObject {
    Q_OBJECT

private slots:
    void unusableDirectoryExplainsOffersConfigurationAndEnds() {
        Banc banc;
        qputenv("ARBRIX_DIRECTORY", "/nowhere/missing.ldif");
        const QByteArray avant = test::LitFichier(banc.cheminIni());
        // The question comes before the window is up: Qt's own buttons already speak French.
        QString boutonNon;
        banc.automate.ajoute([&boutonNon](QWidget* w) {
            auto* non = qobject_cast<QMessageBox*>(w)->button(QMessageBox::No);
            boutonNon = non->text();
            non->click();
        });
        QVERIFY(!banc.demarre({dnVentes}));
        QCOMPARE(boutonNon, u"&Non"_s);
        QCOMPARE(banc.automate.messages.size(), 1);
        QVERIFY(banc.automate.messages[0].contains(u"/nowhere/missing.ldif"_s));
        QVERIFY(banc.automate.messages[0].endsWith(u"l'ActiveDirectory ?"_s)); // offers the configuration
        QCOMPARE(test::LitFichier(banc.cheminIni()), avant);                   // nothing saved
    }

    // Every way out ends the event loop: Quit from the tray menu (the window is hidden, so no
    // visible window closes), and a close while the start-up analysis runs (before the loop).
    void everyWayOutEndsTheProgram() {
        {
            Banc banc;
            QVERIFY(banc.demarre());
            banc.fenetre->hide(); // as in the tray
            QTimer::singleShot(0, banc.fenetre.get(), [&banc] {
                banc.fenetre->findChild<QAction*>(u"mnuSystrayQuitter"_s)->trigger();
            });
            QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(3); }); // a hang fails here
            QCOMPARE(BouclePrincipale(*banc.fenetre), 0);
            QVERIFY(banc.fenetre->EstFermee());
        }
        {
            Banc banc;
            QTimer::singleShot(0, qApp, [&banc] { banc.fenetre->close(); }); // during the analysis
            QVERIFY(banc.demarre({dnVelmora}));
            QVERIFY(banc.fenetre->EstFermee());
            QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(3); });
            QCOMPARE(BouclePrincipale(*banc.fenetre), 0);
        }
    }

    // The keyboard does what the mouse does: the labels follow the arrow keys, the menu key opens
    // the node's menu at the node, and the find keys work though the menu was opened on no tree.
    void keyboardUsersGetWhatTheMouseGets() {
        Banc banc;
        QVERIFY(banc.demarre());
        auto* edition = banc.fenetre->findChild<QMenu*>(u"mnuEdition"_s);
        emit edition->aboutToShow();
        emit edition->aboutToHide();
        banc.fenetre->LanceAnalyse(0, dnVentes);
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        auto* description = banc.controle<QLabel>(u"lblDescription"_s);
        QCOMPARE(description->text(), u"Direction commerciale"_s);

        vue->setFocus();
        QTest::keyClick(vue, Qt::Key_Down); // from the root the build selected onto its first child
        Noeud* courant = banc.fenetre->arbre().SelectedItem();
        QVERIFY(courant && courant != banc.fenetre->arbre().Racine());
        const QString attendue =
            LitDescriptionEtGestionnaire(*banc.fenetre->session(), courant->Tag()).description;
        QVERIFY(attendue != description->text());
        QTRY_COMPARE(description->text(), attendue);

        MenusScriptes menus;
        QContextMenuEvent touche(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(vue, &touche);
        QCOMPARE(menus.affiches, 1);
        QCOMPARE(menus.position,
                 vue->viewport()->mapToGlobal(vue->visualRect(vue->currentIndex()).bottomLeft()));

        banc.fenetre->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(banc.fenetre.get()));
        QTest::keyClick(banc.fenetre.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(banc.fenetre->findChild<QDialog*>(u"frmRechercher"_s) &&
                    banc.fenetre->findChild<QDialog*>(u"frmRechercher"_s)->isVisible());
    }

    // The list's rules are the memorised entries' tests; here, the keys and the mouse reach them.
    void completionFromMemorisedEntries() {
        Banc banc(u"Français"_s, u"Mémos=0|1|Ventes\x1e"
                                 u"1|0|Ventes - Tous\x1e"
                                 u"1|0|GS Informatique\n"_s);
        QVERIFY(banc.demarre());
        auto* boite = banc.controle<QComboBox>(u"cboRecherche"_s);
        auto* liste = banc.controle<QListWidget>(u"lstComplétion"_s);
        QTest::keyClicks(boite->lineEdit(), u"ven"_s);
        QCOMPARE(liste->count(), 2);
        // Down copies the candidate and its type, and stops at the last one.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(boite->lineEdit(), Qt::Key_Down);
        QCOMPARE(boite->currentText(), u"Ventes - Tous"_s);
        QVERIFY(banc.controle<QRadioButton>(u"optType_1"_s)->isChecked());
        QTest::keyClick(boite->lineEdit(), Qt::Key_Up);
        QCOMPARE(boite->currentText(), u"Ventes"_s);
        // Shift+Delete forgets the selected entry.
        QTest::keyClick(boite->lineEdit(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(banc.fenetre->memos().Nombre(), 3);
        QCOMPARE(boite->currentText(), u"Ventes - Tous"_s);

        // A click on a candidate takes it; Escape empties the box and hides the list.
        boite->lineEdit()->clear();
        QTest::keyClicks(boite->lineEdit(), u"gs"_s);
        const QRect ligne = liste->visualItemRect(liste->item(0));
        QTest::mouseMove(liste->viewport(), ligne.center());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ligne.center());
        QTRY_VERIFY(!liste->isVisible());
        QCOMPARE(boite->currentText(), u"GS Informatique"_s);
        QTest::keyClicks(boite->lineEdit(), u"ven"_s);
        QVERIFY(liste->isVisible());
        QTest::keyClick(boite->lineEdit(), Qt::Key_Escape);
        QVERIFY(!liste->isVisible());
        QVERIFY(boite->currentText().isEmpty());
    }

    void ambiguousNameOffersTheOccurrenceList() {
        Banc banc;
        QVERIFY(banc.demarre());
        auto* boite = banc.controle<QComboBox>(u"cboRecherche"_s);
        QTest::mouseClick(banc.controle<QRadioButton>(u"optType_0"_s), Qt::LeftButton);
        QTest::keyClicks(boite->lineEdit(), u"Ventes*"_s);
        QStringList proposes;
        bool pointeurNormal = false;
        banc.automate.ajoute([&proposes, &pointeurNormal](QWidget* w) {
            QCOMPARE(w->objectName(), u"frmListeOccurrences"_s);
            pointeurNormal = QApplication::overrideCursor() == nullptr;
            auto* liste = w->findChild<QTreeWidget*>(u"lvwOccurrences"_s);
            for (int i = 0; i < liste->topLevelItemCount(); ++i) {
                proposes << liste->topLevelItem(i)->text(0);
                if (proposes.last() == u"Ventes (EMEA)"_s)
                    liste->setCurrentItem(liste->topLevelItem(i));
            }
            w->findChild<QPushButton*>(u"btnOK"_s)->click();
        });
        QTest::mouseClick(banc.controle<QPushButton>(u"btnChercher"_s), Qt::LeftButton);
        // O.U.s and groups found by the wildcard are offered together.
        QVERIFY(proposes.contains(u"Ventes"_s) && proposes.contains(u"Ventes - Tous"_s));
        QVERIFY(banc.fenetre->arbre().Racine()->Text().startsWith(u"Ventes (EMEA)"_s));
        QVERIFY(banc.controle<QRadioButton>(u"optType_1"_s)->isChecked());
        // The box shows the root chosen, which joins the memorised entries; the pointer is
        // normal in the list and afterwards, and the tree takes the keys again.
        QVERIFY(pointeurNormal);
        QCOMPARE(boite->currentText(), u"Ventes (EMEA)"_s);
        QVERIFY(banc.fenetre->memos().Nombre() >= 1);
        QVERIFY(!QApplication::overrideCursor());
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        QVERIFY(vue->isEnabled());
        QCOMPARE(banc.fenetre->focusWidget(), vue);

        // Cancelling the choice, searched with Enter, builds nothing and keeps the tree (a name found
        // nowhere is the conformance suite's, on both directories).
        boite->setEditText(u"Ventes*"_s);
        bool annule = false;
        banc.automate.ajoute([&annule](QWidget* w) { annule = static_cast<QDialog*>(w)->close(); });
        QTest::keyClick(boite->lineEdit(), Qt::Key_Return);
        QVERIFY(annule);
        QVERIFY(banc.fenetre->arbre().Racine()->Text().startsWith(u"Ventes (EMEA)"_s));
        QVERIFY(banc.controle<QLabel>(u"lblDescription"_s)->isVisible());
    }

    void stopDuringABuild() {
        Banc banc;
        QVERIFY(banc.demarre());
        bool stoppe = false;
        QTimer guet;
        connect(&guet, &QTimer::timeout, this, [&] {
            auto* progres = banc.fenetre->findChild<frmTraitementEnCours*>();
            if (!stoppe && progres && progres->isVisible()) {
                QVERIFY(progres->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                QTest::mouseClick(progres->findChild<QPushButton*>(u"btnStop"_s), Qt::LeftButton);
                stoppe = true;
            }
        });
        guet.start(0);
        banc.automate.ajoute([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        banc.automate.ajoute([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        banc.fenetre->LanceAnalyse(1, dnVelmora);
        guet.stop();
        QVERIFY(stoppe);
        QCOMPARE(banc.automate.messages.value(0), u"Opération annulée par l'utilisateur..."_s);
        QCOMPARE(banc.automate.titres[0], banc.fenetre->windowTitle().section(u" - "_s, 0, 0));
        // The partial tree stays; the progress window is gone; the tree takes input again.
        QVERIFY(!banc.fenetre->arbre().isEmpty());
        QVERIFY(!banc.fenetre->FenetreTraitementVisible());
        QVERIFY(banc.controle<QTreeView>(u"tvwGroupes"_s)->isEnabled());
    }

    void theViewShowsTheBuiltTreeWholeOnceDone() {
        // Every account expands its way and is selected in turn, while the view follows nothing.
        Banc banc(u"Français"_s, u"DéplierGroupesEtOU=-1\n"_s);
        QVERIFY(banc.demarre());
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        int lignesPendant = -1;
        QTimer guet;
        connect(&guet, &QTimer::timeout, this, [&] {
            if (lignesPendant < 0 && banc.fenetre->FenetreTraitementVisible())
                lignesPendant = vue->model()->rowCount();
        });
        guet.start(0);
        banc.fenetre->LanceAnalyse(1, dnVelmora);
        guet.stop();
        QCOMPARE(lignesPendant, 0);

        const Arbre& arbre = banc.fenetre->arbre();
        auto* modele = qobject_cast<ModeleArbre*>(vue->model());
        QStringList ecarts;
        int deplies = 0;
        arbre.ParcoursPrefixe(nullptr, [&](Noeud* n) {
            deplies += n->Expanded();
            if (vue->isExpanded(modele->indexDe(n)) != n->Expanded())
                ecarts << n->Key();
            return true;
        });
        QVERIFY2(ecarts.isEmpty(), qPrintable(ecarts.join(u", "_s)));
        QVERIFY(deplies > 2);
        QVERIFY(arbre.SelectedItem());
        QCOMPARE(modele->noeud(vue->currentIndex()), arbre.SelectedItem());
        QCOMPARE(vue->model()->rowCount(), 1);
    }

    void secondSearchAndClosingDuringABuild() {
        Banc banc;
        QVERIFY(banc.demarre());
        bool fait = false;
        QTimer guet;
        connect(&guet, &QTimer::timeout, this, [&] {
            if (!fait && banc.fenetre->FenetreTraitementVisible()) {
                fait = true;
                banc.fenetre->LanceAnalyse(1, u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s);
                banc.fenetre->close();
                QVERIFY(banc.fenetre->isVisible());
            }
        });
        guet.start(0);
        banc.fenetre->LanceAnalyse(1, dnVelmora);
        guet.stop();
        QVERIFY(fait);
        QVERIFY(banc.fenetre->arbre().Racine()->Text().startsWith(u"Velmora"_s));
        QVERIFY(!banc.fenetre->isVisible());
        QVERIFY(!banc.fenetre->AnalyseEnCours());
        QCOMPARE(banc.automate.messages.value(0), u"Opération annulée par l'utilisateur..."_s);
        QVERIFY(test::LitFichier(banc.cheminIni()).contains("Mémos=0|0|Velmora")); // the closing wrote
    }

    void startsOnACommandLineDnAndItsEntriesAndOptionsSurviveARestart() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        QVERIFY(banc.fenetre->arbre().Racine()->Text().startsWith(u"Ventes"_s));
        QVERIFY(banc.controle<QRadioButton>(u"optType_0"_s)->isChecked());
        QCOMPARE(banc.controle<QComboBox>(u"cboRecherche"_s)->currentText(), u"Ventes"_s);
        QVERIFY(banc.fenetre->windowTitle().contains(u" - "_s)); // names the user once connected
        QVERIFY(banc.automate.messages.isEmpty());
        banc.fenetre->findChild<QAction*>(u"mnuOptionsMémoriserTaille"_s)->trigger();
        banc.fenetre->resize(640, 480);
        banc.ferme();
        QVERIFY(banc.demarre());
        // Saved as one recent entry, loaded back without a separator line.
        QCOMPARE(banc.controle<QComboBox>(u"cboRecherche"_s)->itemText(0), u"Ventes"_s);
        QCOMPARE(banc.fenetre->memos().PositionSeparateur(), Memos::SansSeparateurToutRecent);
        QCOMPARE(banc.fenetre->size(), QSize(640, 480));
        QVERIFY(banc.fenetre->arbre().isEmpty()); // no command line, no analysis
    }

    void windowRules() {
        Banc banc;
        QVERIFY(banc.demarre());
        banc.fenetre->LanceAnalyse(1, dnVentes);
        // The window stays shown when its flags change.
        banc.fenetre->findChild<QAction*>(u"mnuOptionsToujoursAuDessus"_s)->trigger();
        QVERIFY(banc.fenetre->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(banc.fenetre->isVisible());
        // Minimising with the tray option but no tray: the window just minimises.
        banc.fenetre->findChild<QAction*>(u"mnuOptionsMinimiserSystray"_s)->trigger();
        banc.fenetre->showMinimized();
        QTest::qWait(20);
        QVERIFY(!banc.fenetre->IconeSystrayAffichee());
        // The analysis-mode menu leaves out the default mode.
        MenusScriptes menus;
        banc.fenetre->showNormal();
        banc.fenetre->zoneRecherche().btnChercherPlus_MouseDown();
        QCOMPARE(menus.affiches, 1);
        QVERIFY(!menus.dernier.Element(1));
        QVERIFY(menus.dernier.Element(6));
    }

    // The window's keys wherever the focus is, in both languages: distinct Alt letters on the menu
    // bar and the search area, Ctrl+E from the search box (Ctrl+C there still copies its text),
    // F3 with the find window's text, labels that follow a selection the program makes, F5 that
    // reads the directory again keeping what was open and selected, Delete that takes out a member.
    void windowKeysWorkWhereverTheFocusIs() {
        for (const QString& langue : {u"Français"_s, u"English"_s}) {
            Banc banc(langue);
            QVERIFY(banc.demarre({dnVentes}));
            frmPrincipal& f = *banc.fenetre;
            Arbre& arbre = f.arbre();
            QStringList legendes;
            for (QAction* menu : f.menuBar()->actions())
                legendes << menu->text();
            for (QAbstractButton* bouton : f.centralWidget()->findChildren<QAbstractButton*>())
                legendes << bouton->text();
            QString lettres;
            for (const QString& legende : legendes) {
                const qsizetype i = QString(legende).replace(u"&&"_s, u"__"_s).indexOf(u'&');
                if (i < 0)
                    continue;
                QVERIFY2(!lettres.contains(legende.at(i + 1).toLower()), qPrintable(langue + u' ' + legende));
                lettres += legende.at(i + 1).toLower();
            }

            f.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f));
            auto* boite = banc.controle<QComboBox>(u"cboRecherche"_s);
            boite->setFocus();
            QString ouverte;
            banc.automate.ajoute([&ouverte](QWidget* w) {
                ouverte = w->objectName();
                QTest::keyClick(w, Qt::Key_Escape);
            });
            QTest::keyClick(boite->lineEdit(), Qt::Key_E, Qt::ControlModifier);
            QTRY_COMPARE(ouverte, u"frmExporter"_s);
            boite->lineEdit()->setText(u"Siège"_s);
            boite->lineEdit()->selectAll();
            QTest::keyClick(boite->lineEdit(), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), u"Siège"_s);

            auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
            f.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f));
            vue->setFocus();
            QTest::keyClick(vue, Qt::Key_F, Qt::ControlModifier);
            QDialog* recherche = nullptr;
            QTRY_VERIFY((recherche = f.findChild<QDialog*>(u"frmRechercher"_s)) && recherche->isVisible());
            recherche->findChild<QLineEdit*>(u"txtOccurrence"_s)->setText(u"Équipe"_s);
            recherche->findChild<QPushButton*>(u"btnChercherSuivant"_s)->click();
            Noeud* premiere = arbre.SelectedItem();
            QVERIFY(premiere && premiere->Text().startsWith(u"Équipe"_s));
            auto* description = banc.controle<QLabel>(u"lblDescription"_s);
            const QString attendue = LitDescriptionEtGestionnaire(*f.session(), premiere->Tag()).description;
            QVERIFY(!attendue.isEmpty() && attendue != u"Direction commerciale"_s);
            QTRY_COMPARE(description->text(), attendue);
            recherche->findChild<QPushButton*>(u"btnFermer"_s)->click();
            f.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f));
            boite->setFocus();
            QTest::keyClick(boite->lineEdit(), Qt::Key_F3);
            QVERIFY(arbre.SelectedItem() != premiere);
            QVERIFY(arbre.SelectedItem()->Text().startsWith(u"Équipe"_s));

            // F5: what is open and selected stays; what changed in the directory shows.
            Noeud* equipe = arbre.SelectedItem();
            arbre.Deplie(equipe);
            const QString cleEquipe = equipe->Key();
            const QString cleSophie = cleEquipe + u"\\slaurent"_s;
            arbre.Selectionne(arbre.Node(cleSophie));
            OperationsAnnuaire(*f.session(), f)
                .RetireMembre(equipe->DN(), arbre.Node(cleEquipe + u"\\tmoreau"_s)->DN());
            QTest::keyClick(boite->lineEdit(), Qt::Key_F5);
            QVERIFY(arbre.Node(cleEquipe) && arbre.Node(cleEquipe)->Expanded());
            QCOMPARE(arbre.SelectedItem(), arbre.Node(cleSophie));
            QVERIFY(!arbre.Node(cleEquipe + u"\\tmoreau"_s));
            QVERIFY(vue->isExpanded(static_cast<ModeleArbre*>(vue->model())->indexDe(arbre.Node(cleEquipe))));

            // Delete takes the selected member out of its group, as the menu's item does.
            vue->setFocus();
            QTest::keyClick(vue, Qt::Key_Delete);
            QVERIFY(!arbre.Node(cleSophie));
            QVERIFY(banc.automate.messages.isEmpty());

            // Enter and a double click on an account show its properties.
            Noeud* compte = arbre.Node(cleEquipe + u"\\pgirard"_s);
            QVERIFY(compte);
            arbre.Selectionne(compte);
            QStringList vues;
            for (int i = 0; i < 2; ++i)
                banc.automate.ajoute([&vues](QWidget* w) {
                    vues << w->objectName();
                    QTest::keyClick(w, Qt::Key_Escape);
                });
            QTest::keyClick(vue, Qt::Key_Return);
            const QPoint ligne =
                vue->visualRect(static_cast<ModeleArbre*>(vue->model())->indexDe(compte)).center();
            QTest::mouseDClick(vue->viewport(), Qt::LeftButton, {}, ligne);
            QTRY_COMPARE(vues, (QStringList{u"frmProprietesCompte"_s, u"frmProprietesCompte"_s}));
        }
    }

    void englishTranslatesEveryWindow() {
        Banc banc(u"English"_s);
        QVERIFY(banc.demarre({dnVentes}));
        QCOMPARE(banc.controle<QLabel>(u"lblChercher"_s)->text(), u"Search for"_s);
        banc.fenetre->AfficheTraitementEnCours(); // the progress window is a child of the window
        QStringList textes{banc.fenetre->findChild<frmTraitementEnCours*>()->windowTitle()};
        for (QLabel* l : banc.fenetre->findChildren<QLabel*>())
            textes << l->text();
        for (QAbstractButton* b : banc.fenetre->findChildren<QAbstractButton*>())
            textes << b->text();
        for (QGroupBox* g : banc.fenetre->findChildren<QGroupBox*>())
            textes << g->title();
        for (QMenu* m : banc.fenetre->findChildren<QMenu*>()) {
            textes << m->title();
            for (QAction* a : m->actions())
                textes << a->text();
        }
        banc.fenetre->MasqueTraitementEnCours(); // node menus are the catalogue's, all translated
        // French texts have accents or one of these words; the sample's names are French too.
        const QRegularExpression francais(
            u"[éèêàçùô]|Copier|Ouvrir|Analyse|Créer|Envoyer|Recherche|G&roupe|"
            u"&Fichier|&Quitter|&Edition|&Suivant|&Restaurer|nnuler|Traitement|Stop !"_s);
        for (const QString& t : textes)
            QVERIFY2(!francais.match(t).hasMatch() || t.contains(u"Ventes"_s) ||
                         t == banc.fenetre->windowTitle() || t.contains(u"Commerciaux"_s),
                     qPrintable(t));
    }
};

QTEST_MAIN(FrmPrincipalTest)
#include "frmprincipal_test.moc"

#include "../../shell/ui/Banc.h"

#include "menus/MenusNoeuds.h"
#include "tree/ui/ModeleArbre.h"

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnChercheurs = u"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test"_s;
const QString dnVentes = u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class MenusArbreTest : public QObject {
    Q_OBJECT

    static void clicDroit(Banc& banc, Noeud* noeud) {
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        auto* modele = static_cast<ModeleArbre*>(vue->model());
        banc.fenetre->arbre().RendVisible(noeud);
        const QModelIndex index = modele->indexDe(noeud);
        vue->scrollTo(index);
        QTest::mouseClick(vue->viewport(), Qt::RightButton, {}, vue->visualRect(index).center());
    }

private slots:
    void cleanup() { Operations() = {}; }

    // The node's place and the operations built reach the menu; which item each node kind gets is
    // the menus' own test.
    void rightClickSelectsTheNodeAndShowsItsMenu() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        // The real menu first: Escape chooses nothing.
        QStringList actives;
        banc.automate.ajoute([&](QWidget* w) {
            for (QAction* a : qobject_cast<QMenu*>(w)->actions())
                if (a->isEnabled())
                    actives << a->text();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        const qsizetype noeuds = banc.fenetre->arbre().Count();
        clicDroit(banc, banc.fenetre->arbre().Racine());
        QVERIFY(actives.contains(u"Copier le nom\tCtrl+C"_s)); // the shortcut after a tab
        QCOMPARE(banc.fenetre->arbre().Count(), noeuds);

        Operations().retirerMembre = true;
        MenusScriptes menus;
        Arbre& arbre = banc.fenetre->arbre();
        clicDroit(banc, arbre.Racine());
        QCOMPARE(menus.affiches, 1);
        QVERIFY(menus.dernier.Element(IdMenu::OuvrirOUParente));

        Noeud* groupe = banc.noeud(u"Ventes - Tous"_s);
        QVERIFY(groupe);
        clicDroit(banc, groupe);
        QCOMPARE(arbre.SelectedItem(), groupe);
        QVERIFY(menus.dernier.Element(IdMenu::OuvrirAPartirDeCePoint));
        QVERIFY(!menus.dernier.Element(IdMenu::RetirerGroupe)->EstActif()); // directly under an O.U.
        QCOMPARE(banc.controle<QLabel>(u"lblDescription"_s)->text(), u"Toute la direction commerciale"_s);

        // A right click on empty space opens nothing.
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        const int avant = menus.affiches;
        QTest::mouseClick(vue->viewport(), Qt::RightButton, {}, QPoint(5, vue->viewport()->height() - 3));
        QCOMPARE(menus.affiches, avant);
    }

    void copyCommandsFillTheClipboard() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        QClipboard* pressePapiers = QGuiApplication::clipboard();
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        MenusScriptes menus(IdMenu::CopierDistinguishedName);
        clicDroit(banc, banc.fenetre->arbre().Racine());
        QCOMPARE(pressePapiers->text(), dnVentes);

        // An account: Ctrl+Shift+C the name alone (Ctrl+C is the status-bar test's), the account
        // from the key.
        Noeud* compte = banc.noeud(u"Zoé D'Arcy"_s);
        QVERIFY(compte);
        banc.fenetre->arbre().Selectionne(compte);
        QTest::keyClick(vue, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pressePapiers->text(), compte->Text().section(u" ("_s, 0, 0));
        menus.choisit(IdMenu::CopierCompte);
        clicDroit(banc, compte);
        QCOMPARE(pressePapiers->text(), compte->Key().section(u'\\', -1));
        // F2 on an account does nothing.
        const QString avant = compte->Text();
        QTest::keyClick(vue, Qt::Key_F2);
        QCOMPARE(compte->Text(), avant);
    }

    // The managed-by label's menu copies the manager; the parent O.U. of a name holding a comma.
    void managedByMenuAndParentOuOfANameWithAnEscapedComma() {
        Banc banc;
        QVERIFY(banc.demarre({dnChercheurs}));
        auto* gerePar = banc.controle<QLabel>(u"lblGéréPar"_s);
        QVERIFY(gerePar->text().startsWith(u"Lucas Fontaine"_s));
        MenusScriptes menus(IdMenu::CopierDistinguishedName);
        QTest::mouseClick(gerePar, Qt::RightButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"CN=Lucas Fontaine,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test"_s);

        menus.choisit(IdMenu::OuvrirOUParente);
        clicDroit(banc, banc.fenetre->arbre().Racine());
        // The parent O.U. holds a loop of groups: its analysis reports it, and nothing else.
        QCOMPARE(banc.automate.messages.size(), 1);
        QVERIFY(banc.automate.messages[0].contains(u"Boucle A"_s));
        QVERIFY(banc.fenetre->arbre().Racine()->Text().startsWith(u"R&D, Paris"_s));
        QVERIFY(banc.controle<QRadioButton>(u"optType_0"_s)->isChecked());
        // Above the top O.U. of the domain there is no O.U. left.
        banc.fenetre->LanceAnalyse(1, u"OU=Velmora,DC=velmora,DC=test"_s);
        const qsizetype vus = banc.automate.messages.size();
        banc.automate.accepteMessage();
        clicDroit(banc, banc.fenetre->arbre().Racine());
        QTRY_COMPARE(banc.automate.messages.size(), vus + 1);
        QCOMPARE(banc.automate.messages.last(),
                 u"Impossible de remonter plus haut dans l'arborescence des OU..."_s);
    }

    void quickPressStartsNoDragAndOusNeverDrag() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        auto* modele = static_cast<ModeleArbre*>(vue->model());
        const QPoint racine = vue->visualRect(modele->indexDe(banc.fenetre->arbre().Racine())).center();
        QTest::mousePress(vue->viewport(), Qt::LeftButton, {}, racine);
        QTest::qWait(150);
        QMouseEvent deplacement(QEvent::MouseMove, racine + QPoint(20, 20),
                                vue->viewport()->mapToGlobal(racine), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(vue->viewport(), &deplacement);
        QVERIFY(!banc.fenetre->controleurArbre().GlisserEnCours());
        QTest::mouseRelease(vue->viewport(), Qt::LeftButton, {}, racine);
    }
};

QTEST_MAIN(MenusArbreTest)
#include "menusarbre_test.moc"

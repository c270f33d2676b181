// Adding members from the main window: the two choice dialogs (search with wildcards, Enter in
// each field, both pastes, the exact lookup on OK, the selection box's tooltip), the group items
// of the node menu, and the drop of a tree node on a group.

#include "../../shell/ui/Banc.h"

#include "groupops/ui/frmAjoutMembres.h"
#include "i18n/Traductions.h"
#include "menus/MenusNoeuds.h"
#include "shell/TemoinMessages.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/ui/ModeleArbre.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnVentes = u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class AjoutMembresTest : public QObject {
    Q_OBJECT

    // Drops membre on cible as a drag of that window (or of another one) would.
    static void depose(Banc& banc, Noeud* membre, Noeud* cible, bool ctrl, bool autreFenetre = false) {
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        auto* modele = static_cast<ModeleArbre*>(vue->model());
        banc.fenetre->arbre().RendVisible(cible);
        QCoreApplication::processEvents();
        const QPoint point = vue->visualRect(modele->indexDe(cible)).center();
        QMimeData donnees;
        donnees.setData(u"application/x-arbrix-noeud"_s, membre->Key().toUtf8());
        donnees.setData(u"application/x-arbrix-fenetre"_s,
                        IdentiteFenetre(autreFenetre ? static_cast<QWidget*>(vue) : banc.fenetre.get()));
        // The application delivers a drop only to the widget that took the drag's entry.
        QDragEnterEvent entree(point, Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton,
                               ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QApplication::sendEvent(vue->viewport(), &entree);
        QDropEvent depot(point, Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton,
                         ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QApplication::sendEvent(vue->viewport(), &depot);
        QTest::qWait(50);
    }

    // The selection box's tooltip says what it takes in a few lines that need no wrapping.
    static void verifieBulle(Banc& banc) {
        for (GenreMembre genre : {GenreMembre::Compte, GenreMembre::Groupe}) {
            test::Temoin temoin;
            frmAjoutMembres dialogue(*banc.fenetre->session(), temoin, genre);
            const QString bulle = dialogue.findChild<QLineEdit*>(u"txtSélection"_s)->toolTip();
            QVERIFY2(bulle.contains(u'\n') && bulle.contains(u"\";\""_s) && !Qt::mightBeRichText(bulle),
                     qPrintable(bulle));
            for (const QString& ligne : bulle.split(u'\n'))
                QVERIFY2(ligne.size() <= 70, qPrintable(ligne));
        }
    }

private slots:
    void accountDialogPastesSearchesAndResolves() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        test::Temoin temoin;
        frmAjoutMembres dialogue(*banc.fenetre->session(), temoin, GenreMembre::Compte);
        dialogue.show(); // shown, the dialog has a default button that Enter could press as well
        auto* selection = dialogue.findChild<QLineEdit*>(u"txtSélection"_s);
        auto* ok = dialogue.findChild<QPushButton*>(u"btnOK"_s);
        QVERIFY(selection && ok && !ok->isEnabled());

        QApplication::clipboard()->setText(u"PC-ACCUEIL-01\r\nPC-VENTES-07\r\n"_s);
        QTest::keyClick(selection, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selection->text(), u"PC-ACCUEIL-01$;PC-VENTES-07$"_s);
        selection->setSelection(0, 14); // the first entry, replaced by the plain paste
        QApplication::clipboard()->setText(u"amartin\t"_s);
        QTest::keyClick(selection, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(selection->text(), u"amartin;PC-VENTES-07$"_s);
        QCOMPARE(selection->cursorPosition(), 7);
        QVERIFY(ok->isEnabled());

        // Enter in the search field searches once, a "*" standing for any characters; a double
        // click adds the row's account name.
        auto* chercher = dialogue.findChild<QLineEdit*>(u"txtChercher"_s);
        auto* liste = dialogue.findChild<QTreeWidget*>(u"lvwUsers"_s);
        chercher->setText(u"Personne*"_s);
        QTest::keyClick(chercher, Qt::Key_Return);
        QCOMPARE(temoin.messages,
                 QStringList{u"Aucun élément correspondant à ce critère n'a été trouvé..."_s});
        temoin.messages.clear();
        chercher->setText(u"Zo*D'"_s);
        QTest::keyClick(chercher, Qt::Key_Return);
        QCOMPARE(liste->topLevelItemCount(), 1);
        QCOMPARE(liste->topLevelItem(0)->text(3), u"zdarcy"_s);
        liste->setCurrentItem(liste->topLevelItem(0));
        emit liste->itemDoubleClicked(liste->topLevelItem(0), 0);
        QCOMPARE(selection->text(), u"amartin;PC-VENTES-07$;zdarcy"_s);

        // In the box a "*" is a star and names nothing: Enter there is OK, which keeps the dialog
        // open on the refusal, the list and the box as they were; corrected, Enter resolves every
        // entry.
        selection->setText(selection->text() + u";adm*"_s);
        QTest::keyClick(selection, Qt::Key_Return);
        QCOMPARE(temoin.messages,
                 QStringList{u"Le compte 'adm*' n'a pas été trouvé : opération abandonnée..."_s});
        QCOMPARE(dialogue.result(), int(QDialog::Rejected));
        QCOMPARE(selection->text(), u"amartin;PC-VENTES-07$;zdarcy;adm*"_s);
        QCOMPARE(liste->topLevelItemCount(), 1);
        selection->setText(u"amartin;PC-VENTES-07$;zdarcy;"_s);
        QTest::keyClick(selection, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(dialogue.result(), int(QDialog::Accepted));
        QCOMPARE(dialogue.Choix().size(), 3);
        QCOMPARE(std::get<CompteChoisi>(dialogue.Choix()[1]).Categorie, u"comp"_s);
        verifieBulle(banc);
    }

    void tooltipsInEnglish() {
        Banc banc(u"English"_s);
        QVERIFY(banc.demarre({dnVentes}));
        verifieBulle(banc);
    }

    void groupDialogAddsFromTheMenu() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        Noeud* accueil = banc.noeud(u"Équipe d'accueil"_s);
        banc.fenetre->arbre().Selectionne(accueil);
        MenusScriptes menus;
        banc.fenetre->controleurArbre().AfficheMenuNoeud(accueil);
        // The window offers every group operation.
        for (int id : {IdMenu::AjouterComptes, IdMenu::AjouterGroupes, IdMenu::CreerGroupe,
                       IdMenu::RenommerGroupe, IdMenu::SupprimerGroupe, IdMenu::RetirerGroupe})
            QVERIFY(menus.dernier.Element(id)->EstActif());
        const QString emea = banc.noeud(u"Ventes (EMEA)"_s)->Tag();
        const qsizetype avant = banc.fenetre->arbre().Instances(emea).size();
        banc.automate.ajoute([](QWidget* w) {
            QCOMPARE(w->objectName(), u"frmAjoutGroupe"_s);
            w->findChild<QLineEdit*>(u"txtChercher"_s)->setText(u"Ven*(E"_s);
            w->findChild<QPushButton*>(u"btnChercherGroupe"_s)->click();
            auto* liste = w->findChild<QTreeWidget*>(u"lvwGroupes"_s);
            QCOMPARE(liste->topLevelItemCount(), 1);
            liste->setCurrentItem(liste->topLevelItem(0));
            w->findChild<QPushButton*>(u"btnAjouter"_s)->click();
            w->findChild<QPushButton*>(u"btnOK"_s)->click();
        });
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(accueil, IdMenu::AjouterGroupes);
        // Under both instances of the group.
        QCOMPARE(banc.fenetre->arbre().Instances(emea).size(), avant + 2);
        QVERIFY(banc.automate.messages.isEmpty());
    }

    void dropCopiesMovesAndRefuses() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        auto instanceSous = [&](const QString& nom, const QString& parent) -> Noeud* {
            for (Noeud* n : banc.fenetre->arbre().Instances(banc.noeud(nom)->Tag()))
                if (NomDuLibelle(n->Parent()->Text()) == parent)
                    return n;
            return nullptr;
        };
        const QString accueil = u"Équipe d'accueil"_s;
        // Copy with Ctrl: Zoé joins the welcome team and stays in Ventes (EMEA).
        depose(banc, instanceSous(u"Zoé D'Arcy"_s, u"Ventes (EMEA)"_s), banc.noeud(accueil), true);
        QVERIFY(instanceSous(u"Zoé D'Arcy"_s, accueil));
        QVERIFY(instanceSous(u"Zoé D'Arcy"_s, u"Ventes (EMEA)"_s));
        // A plain drag moves: out of the welcome team, into Ventes - Tous.
        depose(banc, instanceSous(u"Zoé D'Arcy"_s, accueil), banc.noeud(u"Ventes - Tous"_s), false);
        QVERIFY(!instanceSous(u"Zoé D'Arcy"_s, accueil));
        QVERIFY(instanceSous(u"Zoé D'Arcy"_s, u"Ventes - Tous"_s));
        QVERIFY(banc.automate.messages.isEmpty());

        const qsizetype noeuds = banc.fenetre->arbre().Count();
        // A refusal is told (the refusals themselves are the core's), and so is a drop on an O.U.;
        // a foreign drop does nothing.
        depose(banc, instanceSous(u"Marc Petit"_s, u"Sales (EMEA)"_s), banc.noeud(u"Ventes (EMEA)"_s), false);
        depose(banc, banc.noeud(u"Paul Girard"_s), banc.noeud(u"Ventes (EMEA)"_s), true, true);
        depose(banc, banc.noeud(u"Paul Girard"_s), banc.noeud(u"Sales (EMEA)"_s), true);
        QTRY_COMPARE(
            banc.automate.messages,
            (QStringList{u"L'élément que vous souhaitez déplacer appartient déjà au groupe cible..."_s,
                         Traduction(u"MSG_ERREUR_DEPOT_HORS_GROUPE")}));
        QCOMPARE(banc.fenetre->arbre().Count(), noeuds);
    }

    // Over a group the row is highlighted and Ctrl asks for a copy; over an O.U. nothing is
    // highlighted; leaving the tree clears it. The selection is not touched.
    void dragHighlightsTheTargetGroupOnly() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        auto* vue = banc.controle<QTreeView>(u"tvwGroupes"_s);
        auto* modele = static_cast<ModeleArbre*>(vue->model());
        Noeud* membre = banc.noeud(u"Paul Girard"_s);
        banc.fenetre->arbre().Selectionne(membre);
        QMimeData donnees;
        donnees.setData(u"application/x-arbrix-noeud"_s, membre->Key().toUtf8());
        donnees.setData(u"application/x-arbrix-fenetre"_s, IdentiteFenetre(banc.fenetre.get()));
        // The drag enters over the dragged node itself: taken all the same, or no move would follow.
        banc.fenetre->arbre().RendVisible(membre);
        QCoreApplication::processEvents();
        QDragEnterEvent entree(vue->visualRect(modele->indexDe(membre)).center(),
                               Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton, {});
        QApplication::sendEvent(vue->viewport(), &entree);
        QVERIFY(entree.isAccepted());
        auto survole = [&](Noeud* n, Qt::KeyboardModifiers touches) {
            banc.fenetre->arbre().RendVisible(n);
            QCoreApplication::processEvents();
            const QPoint point = vue->visualRect(modele->indexDe(n)).center();
            QDragMoveEvent survol(point, Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton, touches);
            QApplication::sendEvent(vue->viewport(), &survol);
            return std::pair{survol.isAccepted(), survol.dropAction()};
        };
        Noeud* groupe = banc.noeud(u"Ventes (EMEA)"_s);
        QCOMPARE(survole(groupe, Qt::ControlModifier), std::pair(true, Qt::CopyAction));
        QVERIFY(modele->data(modele->indexDe(groupe), Qt::BackgroundRole).isValid());
        QCOMPARE(survole(groupe, Qt::NoModifier), std::pair(true, Qt::MoveAction));
        Noeud* ou = banc.noeud(u"Sales (EMEA)"_s);
        QVERIFY(survole(ou, Qt::NoModifier).first); // taken, to tell why it is refused
        QVERIFY(!modele->data(modele->indexDe(groupe), Qt::BackgroundRole).isValid());
        QVERIFY(!modele->data(modele->indexDe(ou), Qt::BackgroundRole).isValid());
        QVERIFY(!survole(membre, Qt::NoModifier).first); // onto itself: nothing to do
        QDragLeaveEvent sortie;
        QApplication::sendEvent(vue->viewport(), &sortie);
        QCOMPARE(banc.fenetre->arbre().SelectedItem(), membre);
    }
};

QTEST_MAIN(AjoutMembresTest)
#include "ajoutmembres_test.moc"

// The group operations from the main window on the sample domain: the creation dialog with its
// checks and remembered choices, a name already taken, the deletion's question, and the rename
// in place.

#include "../../shell/ui/Banc.h"

#include "groupops/ui/frmCreationGroupe.h"
#include "menus/MenusNoeuds.h"
#include "shell/TemoinMessages.h"
#include "tree/ui/ModeleArbre.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnVentes = u"OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class GroupesFenetreTest : public QObject {
    Q_OBJECT

    static QTreeView* vue(Banc& banc) { return banc.controle<QTreeView>(u"tvwGroupes"_s); }
    // The label editor open in the tree, if any.
    static QLineEdit* editeur(Banc& banc) {
        for (QLineEdit* e : vue(banc)->findChildren<QLineEdit*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }

    // Fills the creation dialog once it is open, then presses OK.
    static void remplitCreation(Banc& banc, const QString& nom, const QString& type, const QString& etendue) {
        banc.automate.ajoute([=](QWidget* w) {
            w->findChild<QLineEdit*>(u"txtNom"_s)->setText(nom);
            w->findChild<QRadioButton*>(type)->setChecked(true);
            w->findChild<QRadioButton*>(etendue)->setChecked(true);
            w->findChild<QPushButton*>(u"btnOK"_s)->click();
        });
    }

private slots:
    void creationDialogChecksTheName() {
        test::Temoin temoin;
        frmCreationGroupe dialogue(1, 2, temoin);
        auto* ok = dialogue.findChild<QPushButton*>(u"btnOK"_s);
        auto* nom = dialogue.findChild<QLineEdit*>(u"txtNom"_s);
        nom->setText(u"   "_s);
        QVERIFY(!ok->isEnabled());
        nom->setText(u"Achats, Lyon"_s);
        ok->click();
        QCOMPARE(temoin.messages.size(), 1);
        QCOMPARE(dialogue.result(), int(QDialog::Rejected)); // still open, name kept
        QCOMPARE(nom->text(), u"Achats, Lyon"_s);
        nom->setText(u"Achats Lyon"_s);
        ok->click();
        QCOMPARE(dialogue.result(), int(QDialog::Accepted));
    }

    void createFromTheMenuRemembersTheChoice() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        Arbre& arbre = banc.fenetre->arbre();
        Noeud* tous = banc.noeud(u"Ventes - Tous"_s);
        arbre.Selectionne(tous);
        remplitCreation(banc, u" Nouveau groupe "_s, u"optTypeGroupe_1"_s, u"optEtendueGroupe_0"_s);
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(tous, IdMenu::CreerGroupe);
        Noeud* cree = arbre.SelectedItem();
        QVERIFY(cree);
        QCOMPARE(cree->Parent(), tous);
        QCOMPARE(cree->Image(), u"grp_dis_loc"_s);
        QCOMPARE(banc.etat->Config.TypeGroupe, qint16(1));
        QCOMPARE(banc.etat->Config.EtendueGroupe, qint16(0));

        // The next dialog starts on that choice; cancelling changes nothing.
        bool distributionLocale = false;
        banc.automate.ajoute([&](QWidget* w) {
            distributionLocale = w->findChild<QRadioButton*>(u"optTypeGroupe_1"_s)->isChecked() &&
                                 w->findChild<QRadioButton*>(u"optEtendueGroupe_0"_s)->isChecked();
            w->findChild<QPushButton*>(u"btnAnnuler"_s)->click();
        });
        const qsizetype noeuds = arbre.Count();
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(arbre.Racine(), IdMenu::CreerGroupe);
        QVERIFY(distributionLocale);
        QCOMPARE(arbre.Count(), noeuds);
        QVERIFY(banc.automate.messages.isEmpty());
    }

    void aTakenNameKeepsTheDialogOpenOnWhatHoldsIt() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        Arbre& arbre = banc.fenetre->arbre();
        const qsizetype noeuds = arbre.Count();
        const QStringList pris = {u"Ventes - Tous"_s, u"ZDarcy"_s, u"PC-VENTES-07$"_s};
        QPointer<QWidget> dialogue;
        QStringList gardes;
        // The automaton answers one window at a time: each step runs once the previous answer
        // has returned. After each refusal the dialog must still be open with the name typed.
        std::function<void(int)> essaie = [&](int i) {
            if (i > 0 && dialogue && dialogue->isVisible())
                gardes << dialogue->findChild<QLineEdit*>(u"txtNom"_s)->text();
            if (!dialogue)
                return;
            if (i == pris.size()) {
                dialogue->findChild<QPushButton*>(u"btnAnnuler"_s)->click();
                return;
            }
            dialogue->findChild<QLineEdit*>(u"txtNom"_s)->setText(pris[i]);
            banc.automate.ajoute([&, i](QWidget* boite) {
                QVERIFY(qobject_cast<QMessageBox*>(boite));
                QTest::keyClick(boite, Qt::Key_Escape);
                QTimer::singleShot(50, [&, i] { essaie(i + 1); });
            });
            QTimer::singleShot(0, dialogue->findChild<QPushButton*>(u"btnOK"_s), &QPushButton::click);
        };
        banc.automate.ajoute([&](QWidget* w) {
            dialogue = w;
            essaie(0);
        });
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(arbre.Racine(), IdMenu::CreerGroupe);
        // Each refusal is told; what it names is the conformance suite's, on both directories.
        QCOMPARE(gardes, pris);
        QCOMPARE(banc.automate.messages.size(), 3);
        QCOMPARE(arbre.Count(), noeuds);
    }

    void deletionNamesTheGroupInEnglish() {
        Banc banc(u"English"_s);
        QVERIFY(banc.demarre({dnVentes}));
        Noeud* tous = banc.noeud(u"Ventes - Tous"_s);
        banc.fenetre->arbre().Selectionne(tous);
        banc.automate.accepteMessage(QMessageBox::No);
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(tous, IdMenu::SupprimerGroupe);
        QCOMPARE(banc.automate.messages.size(), 1);
        QVERIFY2(banc.automate.messages[0].startsWith(
                     u"Warning: you are about to delete the group 'Ventes - Tous'.\n"_s),
                 qPrintable(banc.automate.messages[0]));
        QVERIFY(banc.noeud(u"Ventes - Tous"_s));
    }

    void renameInPlaceEscapeCancelsEnterCommits() {
        Banc banc;
        QVERIFY(banc.demarre({dnVentes}));
        Arbre& arbre = banc.fenetre->arbre();
        Noeud* emea = banc.noeud(u"Ventes (EMEA)"_s);
        const QString tag = emea->Tag();
        arbre.RendVisibleEtSelectionne(emea);
        vue(banc)->setFocus();

        QTest::keyClick(vue(banc), Qt::Key_F2);
        QLineEdit* editeur = this->editeur(banc);
        QVERIFY(editeur);
        QCOMPARE(editeur->text(), u"Ventes (EMEA)"_s); // the name without its count
        QTest::keyClick(editeur, Qt::Key_Escape);
        QTRY_VERIFY(!this->editeur(banc));
        QCOMPARE(emea->Tag(), tag);

        QTest::keyClick(vue(banc), Qt::Key_F2);
        editeur = this->editeur(banc);
        QVERIFY(editeur);
        editeur->selectAll();
        QTest::keyClicks(editeur, u"Ventes EMEA #1"_s);
        QTest::keyClick(editeur, Qt::Key_Return);
        QTRY_VERIFY(!banc.noeud(u"Ventes (EMEA)"_s));

        // An emptied label is refused with its message; the name stays.
        Noeud* renomme = banc.noeud(u"Ventes EMEA #1"_s);
        QVERIFY(renomme);
        arbre.RendVisibleEtSelectionne(renomme);
        banc.automate.accepteMessage();
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(renomme, IdMenu::RenommerGroupe);
        editeur = this->editeur(banc);
        QVERIFY(editeur);
        editeur->clear();
        QTest::keyClick(editeur, Qt::Key_Return);
        QTRY_COMPARE(banc.automate.messages.size(), 1);
        QCOMPARE(banc.automate.messages[0], u"Le nom d'un groupe ne peut être vide..."_s);
        QVERIFY(banc.noeud(u"Ventes EMEA #1"_s));
    }
};

QTEST_MAIN(GroupesFenetreTest)
#include "groupesfenetre_test.moc"

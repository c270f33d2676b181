// The memberships window, from an account's menu in the main window on the sample domain.

#include "../../shell/ui/Banc.h"

#include "groupops/ui/frmAppartenances.h"
#include "i18n/Traductions.h"
#include "menus/MenusNoeuds.h"

using namespace arbrix;
using namespace arbrix::banc;

namespace {
const QString dnParis = u"OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test"_s;
} // namespace

class FrmAppartenancesTest : public QObject {
    Q_OBJECT

private slots:
    // Direct groups as a list; on the switch, each chain under the one it extends and the loop
    // where it is cut (nothing to open there); a group chosen opens in the tree.
    void directesPuisEffectivesEtOuverture() {
        Banc banc;
        QVERIFY(banc.demarre({dnParis}));
        Noeud* nathalie = banc.noeud(u"Nathalie Roux"_s);
        QVERIFY(nathalie);
        banc.automate.ajoute([](QWidget* w) {
            QCOMPARE(w->windowTitle(), u"Liste des groupes dont est membre le compte 'Nathalie Roux'"_s);
            auto* liste = w->findChild<QTreeWidget*>(u"lvwGroupes"_s);
            QCOMPARE(liste->topLevelItemCount(), 4);
            QCOMPARE(liste->topLevelItem(1)->childCount(), 0);
            w->findChild<QCheckBox*>(u"chkEffectives"_s)->setChecked(true);
            QCOMPARE(liste->topLevelItemCount(), 4);
            QTreeWidgetItem* boucleC = liste->findItems(u"Boucle C"_s, Qt::MatchExactly).value(0);
            QVERIFY(boucleC);
            QTreeWidgetItem* boucleA = boucleC->child(0)->child(0);
            QCOMPARE(boucleA->text(0), u"Boucle A"_s);
            QTreeWidgetItem* boucle = boucleA->child(0);
            QCOMPARE(boucle->text(0), u"Boucle C (appartenance circulaire, coupée là)"_s);
            auto* ok = w->findChild<QPushButton*>(u"btnOK"_s);
            liste->setCurrentItem(boucle);
            QVERIFY(!ok->isEnabled());
            liste->setCurrentItem(boucleA);
            QVERIFY(ok->isEnabled());
            ok->click();
        });
        banc.fenetre->controleurArbre().ExecuteCommandeNoeud(nathalie, IdMenu::CompteMembreDe);
        QTRY_COMPARE(NomDuLibelle(banc.fenetre->arbre().Racine()->Text()), u"Boucle A"_s);
    }

    // No group: a sentence naming the object instead of the list; in English the window's own
    // captions are translated too (the sentence's English is the core's test).
    void aucunGroupeDitEnToutesLettres() {
        AppartenancesEffectives aucune;
        aucune.nom = u"Groupe vide"_s;
        frmAppartenances francais(aucune, u"titre"_s);
        QCOMPARE(francais.findChild<QLabel*>(u"lblAucunGroupe"_s)->text(),
                 u"Groupe vide n'est membre d'aucun groupe."_s);
        QVERIFY(!francais.findChild<QTreeWidget*>(u"lvwGroupes"_s)->isVisibleTo(&francais));
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        frmAppartenances anglais(aucune, u"title"_s);
        QCOMPARE(anglais.findChild<QCheckBox*>(u"chkEffectives"_s)->text(),
                 u"&Effective memberships (through nesting and the primary group)"_s);
        ChargeTraductions(QString());
    }
};

QTEST_MAIN(FrmAppartenancesTest)
#include "frmAppartenances_test.moc"

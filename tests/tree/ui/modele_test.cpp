// The item model over the core tree: consistent with Qt's model rules through inserts, removals,
// moves after a relabel and resets. Its speed on large trees is measured in bench/.

#include "tree/Arbre.h"
#include "tree/ui/ModeleArbre.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace arbrix;
using namespace Qt::StringLiterals;

class ModeleTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheTreeThroughEveryChange() {
        Arbre arbre;
        ModeleArbre modele(arbre);
        QAbstractItemModelTester testeur(&modele, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Noeud* racine = arbre.Ajoute(nullptr, u"\\\\Ventes"_s, u"Ventes"_s, u"OOU=Ventes"_s, u"ou"_s, true);
        Noeud* b = arbre.Ajoute(racine, u"\\\\Ventes\\B"_s, u"B"_s, u"GCN=B"_s, u"grp_sec_glo"_s, true);
        arbre.Ajoute(racine, u"\\\\Ventes\\D"_s, u"D"_s, u"GCN=D"_s, u"grp_dis_uni"_s, true);
        arbre.Ajoute(b, u"\\\\Ventes\\B\\u1"_s, u"Jean (u1)"_s, u"UCN=Jean"_s, u"user"_s);
        QCOMPARE(modele.rowCount(), 1);
        const QModelIndex iRacine = modele.index(0, 0);
        QCOMPARE(modele.rowCount(iRacine), 2);
        QCOMPARE(modele.data(modele.index(0, 0, iRacine)).toString(), u"B"_s);
        QVERIFY(!modele.data(modele.index(0, 0, iRacine), Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(modele.data(modele.index(1, 0, iRacine), ModeleArbre::RoleTag).toString(), u"GCN=D"_s);
        // What the icon shows, a screen reader says in words.
        Noeud* zoe = arbre.Ajoute(b, u"\\\\Ventes\\B\\u2"_s, u"Zoé (u2)"_s, u"UCN=Zoé"_s, u"user_ina"_s);
        QCOMPARE(modele.data(modele.indexDe(zoe), Qt::AccessibleTextRole).toString(),
                 u"Zoé (u2), Compte utilisateur, désactivé"_s);
        QCOMPARE(modele.data(iRacine, Qt::AccessibleTextRole).toString(), u"Ventes, O.U."_s);
        arbre.Supprime(zoe);

        // A new label moves the node to its sorted place; the view's index follows it.
        QPersistentModelIndex suivi(modele.indexDe(b));
        arbre.ChangeTexte(b, u"E"_s);
        QCOMPARE(suivi.row(), 1);
        QCOMPARE(modele.data(suivi).toString(), u"E"_s);
        QCOMPARE(modele.noeud(suivi), b);
        arbre.ChangeImage(b, u"grp_sec_rec"_s);
        QCOMPARE(modele.data(suivi, ModeleArbre::RoleImage).toString(), u"grp_sec_rec"_s);

        arbre.Supprime(b);
        QVERIFY(!suivi.isValid());
        QCOMPARE(modele.rowCount(iRacine), 1);

        // A bulk build shows nothing until it is over, then everything at once.
        arbre.setNotificationsSuspended(true);
        QCOMPARE(modele.rowCount(), 0);
        arbre.Ajoute(racine, u"\\\\Ventes\\A"_s, u"A"_s, u"GCN=A"_s, u"grp_sec"_s, true);
        arbre.setNotificationsSuspended(false);
        QCOMPARE(modele.rowCount(modele.index(0, 0)), 2);
        arbre.Vide();
        QCOMPARE(modele.rowCount(), 0);
    }
};

QTEST_MAIN(ModeleTest)
#include "modele_test.moc"

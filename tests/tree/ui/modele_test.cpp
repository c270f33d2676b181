// The item model over the core tree: consistent with Qt's model rules through inserts, removals,
// moves after a relabel and resets, and fast enough to show 200,000 nodes in a tree view.

#include "tree/Arbre.h"
#include "tree/ui/ModeleArbre.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QTreeView>
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

    void coreRequestsReachTheView() {
        Arbre arbre;
        ModeleArbre modele(arbre);
        QSignalSpy depliages(&modele, &ModeleArbre::expansionDemandee);
        QSignalSpy selections(&modele, &ModeleArbre::selectionDemandee);
        Noeud* racine = arbre.Ajoute(nullptr, u"\\\\R"_s, u"R"_s, u"OOU=R"_s, u"ou"_s, true);
        Noeud* enfant = arbre.Ajoute(racine, u"\\\\R\\G"_s, u"G"_s, u"GCN=G"_s, u"grp_sec"_s, true);
        arbre.Ajoute(enfant, u"\\\\R\\G\\u"_s, u"u"_s, u"UCN=u"_s, u"user"_s);
        arbre.RendVisibleEtSelectionne(enfant->FirstChild());
        QVERIFY(depliages.size() >= 2);
        QCOMPARE(selections.size(), 1);
        QCOMPARE(modele.noeud(selections[0][0].toModelIndex()), enfant->FirstChild());
    }

    void twoHundredThousandNodesStaySmooth() {
        Arbre arbre;
        arbre.setNotificationsSuspended(true);
        Noeud* racine =
            arbre.Ajoute(nullptr, u"\\\\Tous"_s, u"Tous"_s, u"GCN=Tous"_s, u"grp_sec_glo"_s, true);
        for (int i = 0; i < 200000; ++i) {
            const QString nom = u"compte%1"_s.arg(i, 6, 10, QChar(u'0'));
            arbre.Ajoute(racine, u"\\\\Tous\\"_s + nom, nom + u" ("_s + nom + u')', u"UCN="_s + nom,
                         u"user"_s);
        }
        ModeleArbre modele(arbre);
        QTreeView vue;
        vue.setUniformRowHeights(true);
        vue.setModel(&modele);
        vue.resize(400, 600);
        vue.show();
        QElapsedTimer chrono;
        chrono.start();
        arbre.setNotificationsSuspended(false);
        vue.expand(modele.index(0, 0));
        QCoreApplication::processEvents();
        for (int page = 0; page < 20; ++page) {
            vue.scrollTo(modele.index(page * 10000, 0, modele.index(0, 0)));
            vue.viewport()->repaint();
        }
        vue.scrollToBottom();
        vue.viewport()->repaint();
        // Generous for a loaded machine; a per-row layout or quadratic lookup takes minutes.
        QVERIFY2(chrono.elapsed() < 5000, qPrintable(QString::number(chrono.elapsed())));
        QCOMPARE(modele.rowCount(modele.index(0, 0)), 200000);
        const QModelIndex dernier = modele.index(199999, 0, modele.index(0, 0));
        QCOMPARE(modele.parent(dernier), modele.index(0, 0));
        QCOMPARE(modele.data(dernier, ModeleArbre::RoleCle).toString(), u"\\\\Tous\\compte199999"_s);
    }
};

QTEST_MAIN(ModeleTest)
#include "modele_test.moc"

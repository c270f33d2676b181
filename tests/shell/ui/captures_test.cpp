// Screenshots of the main window with an analysed tree, in French and in English, for a visual
// check under a real display server (set ARBRIX_SCREENSHOT_DIR; skipped otherwise).

#include "Banc.h"

#include <QTreeView>

using namespace arbrix;
using namespace arbrix::banc;

class CapturesTest : public QObject {
    Q_OBJECT

    static void capture(const QString& langue, const QString& fichier) {
        Banc banc(langue, u"FenêtreMémoriserTaille=-1\nFenêtreLargeur=11250\nFenêtreHauteur=9750\n"_s);
        QVERIFY(banc.démarre({u"OU=Velmora,DC=velmora,DC=test"_s}));
        QTest::qWait(200); // the recursion report of the sample's group loop is answered by Escape
        Arbre& arbre = banc.fenêtre->arbre();
        for (const QString& début : {u"Ventes"_s, u"Sales (EMEA)"_s, u"Ventes (EMEA)"_s, u"Informatique"_s,
                                     u"Groupes"_s, u"GS Informatique"_s})
            if (Noeud* n = banc.noeud(début))
                arbre.Déplie(n, true);
        if (Noeud* n = banc.noeud(u"Ventes (EMEA)"_s)) {
            arbre.RendVisibleEtSélectionne(n);
            banc.fenêtre->CliqueNoeud(n);
        }
        banc.fenêtre->raise();
        QTest::qWait(300);
        QVERIFY(banc.fenêtre->grab().save(fichier));
    }

private slots:
    void frenchAndEnglish() {
        const QString dossier = qEnvironmentVariable("ARBRIX_SCREENSHOT_DIR");
        if (dossier.isEmpty())
            QSKIP("ARBRIX_SCREENSHOT_DIR not set");
        capture(u"Français"_s, dossier + u"/principal-fr.png"_s);
        capture(u"English"_s, dossier + u"/principal-en.png"_s);
    }
};

QTEST_MAIN(CapturesTest)
#include "captures_test.moc"

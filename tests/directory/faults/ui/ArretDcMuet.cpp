// The progress window's Stop button while the controller no longer answers: the analysis ends
// as stopped long before the answer timeout, and the window goes.

#include "DcFaults.h"

#include "shell/ui/frmTraitementEnCours.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

// The windows' side of an analysis, as the main window provides it.
class Fenetres : public test::UtilisateurScripte {
public:
    void AfficheTraitementEnCours() override {
        UtilisateurScripte::AfficheTraitementEnCours();
        fenetre = new frmTraitementEnCours([this] { DemandeArret(); });
        fenetre->setAttribute(Qt::WA_DeleteOnClose);
        fenetre->show();
    }
    void MasqueTraitementEnCours() override {
        UtilisateurScripte::MasqueTraitementEnCours();
        if (fenetre)
            fenetre->close();
    }
    void TraiteEvenements() override { QApplication::processEvents(); }

    QPointer<frmTraitementEnCours> fenetre;
};

} // namespace

class ArretDcMuet : public QObject {
    Q_OBJECT
private slots:
    void StopEndsTheWaitForASilentController() {
        if (!Dc().available())
            QSKIP(qPrintable(u"No test domain controller: "_s + Dc().skipReason()));
        ChargeTraductions({});
        Fenetres fenetres;
        LdapOptions options;
        options.answerTimeoutSeconds = 20;
        AnalyseDc dc(fenetres, options);
        QVERIFY(dc.ouverte);

        const DcMuet muet;
        QTimer::singleShot(700, [&fenetres] {
            QVERIFY(fenetres.fenetre && fenetres.fenetre->isVisible());
            QPushButton* stop = fenetres.fenetre->findChild<QPushButton*>();
            QVERIFY(stop);
            QTest::mouseClick(stop, Qt::LeftButton);
        });
        QElapsedTimer chrono;
        chrono.start();
        dc.analyse->NomRacine = u"Niveau 01"_s;
        dc.analyse->TypeRacine = 1;
        dc.analyse->DNRacine = DnEpreuves(u"CN=Niveau 01,OU=Chaine"_s);
        dc.analyse->ConstruitArborescence();
        QVERIFY2(chrono.elapsed() < 3000, qPrintable(QString::number(chrono.elapsed())));
        QCOMPARE(dc.analyse->Resultat().issue, IssueAnalyse::Arretee);
        QVERIFY(!fenetres.fenetre || !fenetres.fenetre->isVisible());
    }
};

QTEST_MAIN(ArretDcMuet)
#include "ArretDcMuet.moc"

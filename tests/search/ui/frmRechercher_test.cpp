#include "i18n/Traductions.h"
#include "search/RechercheArbre.h"
#include "search/ui/frmRechercher.h"
#include "shell/TemoinMessages.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <QtTest>
#include <QtWidgets>

using namespace arbrix;
using namespace Qt::StringLiterals;

using test::Temoin;

class TestFrmRechercher : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ChargeTraductions(QString());
        DefinitTexteRecherche(QString());
        arbre = std::make_unique<Arbre>();
        racine = arbre->Ajoute(nullptr, u"\\\\Ventes"_s, u"Ventes"_s, u"OOU=Ventes"_s);
        compta = arbre->Ajoute(racine, u"\\\\Ventes\\Compta"_s, u"Compta\u00A0(2)"_s, u"GCN=Compta"_s);
        dupont = arbre->Ajoute(compta, u"\\\\Ventes\\Compta\\jd"_s, u"Dupont (jd)"_s, u"UCN=Dupont"_s);
        paie = arbre->Ajoute(racine, u"\\\\Ventes\\Paie"_s, u"Paie"_s, u"GCN=Paie"_s);
        durand = arbre->Ajoute(paie, u"\\\\Ventes\\Paie\\ad"_s, u"Durand (ad)"_s, u"UCN=Durand"_s);
        temoin = Temoin();
    }

    void suivantDepuisLaRacinePuisSansRetour() {
        auto* f = ouvre();
        QVERIFY(!bouton(f, "btnChercherSuivant")->isEnabled()); // no text yet
        QTest::keyClicks(texte(f), u"d"_s);
        QTest::mouseClick(bouton(f, "btnChercherSuivant"), Qt::LeftButton);
        QCOMPARE(arbre->SelectedItem(), dupont);
        QVERIFY(compta->Expanded());
        QTest::mouseClick(bouton(f, "btnChercherSuivant"), Qt::LeftButton);
        QCOMPARE(arbre->SelectedItem(), durand);
        QTest::mouseClick(bouton(f, "btnChercherSuivant"), Qt::LeftButton);
        QCOMPARE(arbre->SelectedItem(), durand); // no wrap-around: the core's rule, told to the user
        QCOMPARE(temoin.icones, QList<IconeMessage>{IconeMessage::Exclamation});
        QTest::mouseClick(bouton(f, "btnChercherPrécédent"), Qt::LeftButton);
        QCOMPARE(arbre->SelectedItem(), dupont);

        // A changed text starts again from the root, which is tested first.
        texte(f)->clear();
        QTest::keyClicks(texte(f), u"VEN"_s);
        QTest::mouseClick(bouton(f, "btnChercherSuivant"), Qt::LeftButton);
        QCOMPARE(arbre->SelectedItem(), racine);
        QCOMPARE(TexteRecherche(), u"VEN"_s);
        f->close();
    }

    void texteConserveEtFenetreLiberee() {
        QPointer<frmRechercher> f = ouvre();
        QVERIFY(frmRechercher::RechercheOuverte());
        QTest::keyClicks(texte(f), u"(2"_s);
        QTest::keyClick(texte(f), Qt::Key_Return);
        QCOMPARE(arbre->SelectedItem(), compta);
        QTest::mouseClick(bouton(f, "btnFermer"), Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        QVERIFY(!frmRechercher::RechercheOuverte());

        auto* g = ouvre();
        QCOMPARE(texte(g)->text(), u"(2"_s);
        QCOMPARE(texte(g)->selectedText(), u"(2"_s);
        QTest::mouseClick(bouton(g, "btnChercherSuivant"), Qt::LeftButton);
        QCOMPARE(temoin.messages.size(), 1); // same text: goes on after the match, finds no other
        g->close();
    }

private:
    frmRechercher* ouvre() {
        auto* f = new frmRechercher(*arbre, temoin);
        f->show();
        if (!QTest::qWaitForWindowExposed(f))
            qWarning("window not exposed");
        return f;
    }
    static QPushButton* bouton(QWidget* f, const char* nom) {
        return f->findChild<QPushButton*>(QString::fromUtf8(nom));
    }
    static QLineEdit* texte(QWidget* f) { return f->findChild<QLineEdit*>(u"txtOccurrence"_s); }

    std::unique_ptr<Arbre> arbre;
    Noeud *racine = nullptr, *compta = nullptr, *dupont = nullptr, *paie = nullptr, *durand = nullptr;
    Temoin temoin;
};

QTEST_MAIN(TestFrmRechercher)
#include "frmRechercher_test.moc"

#include "../../shell/ui/Banc.h"
#include "i18n/Traductions.h"

#include "search/ui/frmListeOccurrences.h"

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const ListeOccurrences kTrouves = {
    {u"Compta"_s, 0, u"Service comptable"_s, u"O.U."_s, u"OU=Compta,DC=example,DC=test"_s},
    {u"Compta"_s, 1, QString(), u"Groupe de sécurité - Global"_s,
     u"CN=Compta,OU=Ventes,DC=example,DC=test"_s},
    {u"Compta, Paie"_s, 1, u"Tabulé\tici"_s, u"Liste de distribution - Local"_s,
     u"CN=Compta\\, Paie,OU=Ventes,DC=example,DC=test"_s},
};

QTreeWidget* Liste(QWidget* f) {
    return f->findChild<QTreeWidget*>(u"lvwOccurrences"_s);
}
QPushButton* Bouton(QWidget* f, const QString& nom) {
    return f->findChild<QPushButton*>(nom);
}

} // namespace

class TestFrmListeOccurrences : public QObject {
    Q_OBJECT

private slots:
    void init() { ChargeTraductions(QString()); }

    // A row chosen with OK or a double click; Cancel chooses none.
    void choixOkDoubleClicEtAnnulation() {
        banc::Automate automate;
        automate.ajoute([](QWidget* fenetre) {
            QVERIFY(Bouton(fenetre, u"btnAnnuler"_s)->isVisible());
            Liste(fenetre)->setCurrentItem(Liste(fenetre)->topLevelItem(1));
            QTest::mouseClick(Bouton(fenetre, u"btnOK"_s), Qt::LeftButton);
        });
        QCOMPARE(frmListeOccurrences::Choisit(nullptr, kTrouves), std::optional<int>(1));
        automate.ajoute([](QWidget* fenetre) {
            QTreeWidget* l = Liste(fenetre);
            l->setCurrentItem(l->topLevelItem(2));
            emit l->itemDoubleClicked(l->topLevelItem(2), 0);
        });
        QCOMPARE(frmListeOccurrences::Choisit(nullptr, kTrouves), std::optional<int>(2));
        automate.ajoute(
            [](QWidget* fenetre) { QTest::mouseClick(Bouton(fenetre, u"btnAnnuler"_s), Qt::LeftButton); });
        QCOMPARE(frmListeOccurrences::Choisit(nullptr, kTrouves), std::nullopt);
    }

    // A header click sorts by its column, a second the other way; the choice is still the row's
    // object. DNs are never cut: the column fits the longest and its tooltip holds it.
    void triParColonneEtDnEntiers() {
        banc::Automate automate;
        automate.ajoute([](QWidget* fenetre) {
            QTreeWidget* l = Liste(fenetre);
            QHeaderView* entete = l->header();
            const QPoint dn(entete->sectionViewportPosition(3) + 5, 5);
            QTest::mouseClick(entete->viewport(), Qt::LeftButton, {}, dn);
            QCOMPARE(l->topLevelItem(0)->text(3), kTrouves[1].DistinguishedName);
            QTest::mouseClick(entete->viewport(), Qt::LeftButton, {}, dn);
            QCOMPARE(l->topLevelItem(0)->text(3), kTrouves[0].DistinguishedName);
            for (int i = 0; i < l->topLevelItemCount(); ++i) {
                QTreeWidgetItem* ligne = l->topLevelItem(i);
                QCOMPARE(ligne->toolTip(3), ligne->text(3));
                QVERIFY(l->columnWidth(3) >= QFontMetrics(l->font()).horizontalAdvance(ligne->text(3)));
            }
            l->setCurrentItem(l->topLevelItem(1));
            QTest::mouseClick(Bouton(fenetre, u"btnOK"_s), Qt::LeftButton);
        });
        // Descending by DN: OU=Compta, CN=Compta\, Paie, CN=Compta,OU=Ventes.
        QCOMPARE(frmListeOccurrences::Choisit(nullptr, kTrouves), std::optional<int>(2));
    }

    void copies() {
        frmListeOccurrences f(kTrouves);
        Liste(&f)->setCurrentItem(Liste(&f)->topLevelItem(2));
        f.CopieNom();
        QCOMPARE(QApplication::clipboard()->text(), u"Compta, Paie"_s);
        // A TAB within a value must not shift the columns.
        f.CopieListe();
        const QStringList lignes = QApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lignes.size(), 5); // titles, three rows, final line break
        for (const QString& ligne : lignes.mid(0, 4))
            QCOMPARE(ligne.count(u'\t'), 3);
    }

    // The columns come from the catalogue, not from the window's captions.
    void colonnesTraduites() {
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        frmListeOccurrences f(kTrouves);
        QCOMPARE(Liste(&f)->headerItem()->text(0), Traduction(u"COL_NOM"));
        QVERIFY(Traduction(u"COL_NOM") != u"Nom"_s);
    }
};

QTEST_MAIN(TestFrmListeOccurrences)
#include "frmListeOccurrences_test.moc"

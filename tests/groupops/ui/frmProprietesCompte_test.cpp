// The properties window of an account, on the sample domain.

#include "../../shell/ui/Banc.h"

#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "groupops/ui/frmProprietesCompte.h"
#include "i18n/Traductions.h"

using namespace arbrix;
using namespace arbrix::banc;

namespace {

const QString dnMarc = u"CN=Marc Petit,OU=Sales (EMEA),OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s;
const QString dnAlice = u"CN=Alice Martin,OU=Direction générale,OU=Siège,OU=Velmora,DC=velmora,DC=test"_s;

QString Valeur(const QWidget& fenetre, const QString& libelle) {
    for (const QLineEdit* e : fenetre.findChildren<QLineEdit*>())
        if (e->accessibleName() == libelle)
            return e->text();
    return u"<absent>"_s;
}

QStringList Colonne(const QTreeWidget* liste, int colonne) {
    QStringList textes;
    for (int i = 0; i < liste->topLevelItemCount(); ++i)
        textes << liste->topLevelItem(i)->text(colonne);
    return textes;
}

} // namespace

class ProprietesCompteFenetreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SessionAD> session;

    ProprietesCompte lit(const QString& dn) {
        return LitProprietesCompte(*session, dn, QDateTime::currentDateTime()).value();
    }

private slots:
    void initTestCase() {
        session = std::make_unique<SessionAD>(
            std::make_shared<MemoryBackend>(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif")),
            AccesAnnuaire{});
        session->definitNomUtilisateurSysteme([] { return u"test"_s; });
        QVERIFY(session->Ouvre().reussi());
    }
    void init() { ChargeTraductions(QString()); }

    // Rows, groups sorted by a header click, the account tool given the account name, Escape.
    void rowsGroupsToolAndEscape() {
        frmProprietesCompte f(lit(dnAlice), u"/opt/outil/outil"_s);
        QList<Commande> lances;
        f.definitLancement([&lances](const Commande& c) { lances << c; });
        f.show();
        QCOMPARE(f.windowTitle(), u"Propriétés de Alice Martin"_s);
        QCOMPARE(Valeur(f, u"État"_s), u"actif"_s);
        QCOMPARE(Valeur(f, u"DistinguishedName"_s), dnAlice);

        auto* groupes = f.findChild<QTreeWidget*>(u"lvwGroupes"_s);
        QVERIFY(groupes);
        const QStringList parNom = Colonne(groupes, 0);
        QCOMPARE(parNom.size(), 3);
        QTest::mouseClick(groupes->header()->viewport(), Qt::LeftButton, {},
                          QPoint(groupes->header()->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(Colonne(groupes, 0), parNom); // the first click sorts as they came: by name
        QTest::mouseClick(groupes->header()->viewport(), Qt::LeftButton, {},
                          QPoint(groupes->header()->sectionViewportPosition(0) + 5, 5));
        QStringList inverse = parNom;
        std::reverse(inverse.begin(), inverse.end());
        QCOMPARE(Colonne(groupes, 0), inverse);
        // Whole DNs: the column fits its longest value.
        const QFontMetrics mesures(groupes->font());
        for (const QString& dn : Colonne(groupes, 2))
            QVERIFY(groupes->columnWidth(2) >= mesures.horizontalAdvance(dn));

        auto* outil = f.findChild<QPushButton*>(u"btnOutilCompte"_s);
        QVERIFY(outil->isVisible());
        outil->click();
        QCOMPARE(lances, (QList<Commande>{{u"/opt/outil/outil"_s, {u"amartin"_s}}}));
        QTest::keyClick(&f, Qt::Key_Escape);
        QVERIFY(!f.isVisible());

        frmProprietesCompte sansOutil(lit(dnMarc), QString());
        QVERIFY(!sansOutil.findChild<QPushButton*>(u"btnOutilCompte"_s)->isVisibleTo(&sansOutil));
        QCOMPARE(Valeur(sansOutil, u"État"_s), u"verrouillé"_s);
    }

    // In English: the labels, a list of no group said in words, and no account at a DN told.
    void englishNoGroupAndNoAccount() {
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        ProprietesCompte p = lit(dnMarc);
        p.groupes.clear();
        frmProprietesCompte f(p, QString());
        QCOMPARE(Valeur(f, u"State"_s), u"locked"_s);
        QVERIFY(!f.findChild<QTreeWidget*>(u"lvwGroupes"_s));
        QCOMPARE(f.findChild<QLabel*>(u"lblAucunGroupe"_s)->text(),
                 u"Marc Petit is not a member of any group."_s);
        QCOMPARE(f.findChild<QPushButton*>(u"btnFermer"_s)->text(), u"&Close"_s);

        Automate automate;
        automate.accepteMessage();
        const QString groupe = u"CN=Niveau 2 - Direction,OU=Siège,OU=Velmora,DC=velmora,DC=test"_s;
        frmProprietesCompte::Affiche(nullptr, *session, groupe, QString());
        QCOMPARE(automate.messages, QStringList{u"No account has the DN '"_s + groupe + u"'."_s});
    }
};

QTEST_MAIN(ProprietesCompteFenetreTest)
#include "frmProprietesCompte_test.moc"

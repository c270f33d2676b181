#include "about/ui/frmAPropos.h"
#include "i18n/Traductions.h"
#include "text/Version.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace arbrix;
using namespace Qt::StringLiterals;

class TestFrmAPropos : public QObject {
    Q_OBJECT

private slots:
    void titreVersionDescriptionEtAnglais() {
        ChargeTraductions(QString());
        frmAPropos f;
        QCOMPARE(f.findChild<QLabel*>(u"lblVersion"_s)->text(), TitreApplication());
        QVERIFY(f.findChild<QLabel*>(u"lblDescriptionOutil"_s)->text().startsWith(u"Arbrix montre"_s));
        f.show();
        QTest::mouseClick(f.findChild<QPushButton*>(u"btnOK"_s), Qt::LeftButton);
        QCOMPARE(f.result(), int(QDialog::Accepted));

        // In English, except the program's name.
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        frmAPropos g;
        QCOMPARE(g.windowTitle(), u"About Arbrix"_s);
        QCOMPARE(g.findChild<QLabel*>(u"lblTitre"_s)->text(), NomApplication());
        const QString description = g.findChild<QLabel*>(u"lblDescriptionOutil"_s)->text();
        QVERIFY2(description.startsWith(u"Arbrix shows"_s), qPrintable(description));
        ChargeTraductions(QString());
    }
};

QTEST_MAIN(TestFrmAPropos)
#include "frmAPropos_test.moc"

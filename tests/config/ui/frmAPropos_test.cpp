#include "about/ui/frmAPropos.h"
#include "i18n/Traductions.h"
#include "text/Version.h"

#include <QtTest>
#include <QtWidgets>

using namespace arbrix;
using namespace Qt::StringLiterals;

class TestFrmAPropos : public QObject {
    Q_OBJECT

private slots:
    void versionEtAnglaisSaufLeNomDuProgramme() {
        ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
        frmAPropos g;
        QCOMPARE(g.findChild<QLabel*>(u"lblVersion"_s)->text(), TitreApplication());
        QCOMPARE(g.windowTitle(), u"About Arbrix"_s);
        const QString description = g.findChild<QLabel*>(u"lblDescriptionOutil"_s)->text();
        QVERIFY2(description.startsWith(u"Arbrix shows"_s), qPrintable(description));
        ChargeTraductions(QString());
    }
};

QTEST_MAIN(TestFrmAPropos)
#include "frmAPropos_test.moc"

// The tree icons: every image key has its own picture, told apart from all others at 16 px.

#include "tree/ui/Icones.h"

#include <QImage>
#include <QSet>
#include <QtTest>

using namespace arbrix;
using namespace Qt::StringLiterals;

class IconesTest : public QObject {
    Q_OBJECT

private:
    static QImage rendu(const QIcon& icone, int taille) {
        return icone.pixmap(QSize(taille, taille)).toImage().convertToFormat(QImage::Format_ARGB32);
    }

private slots:
    void eachKeyHasItsOwnDistinctIcon() {
        QCOMPARE(QSet<QString>(ClesIcones().cbegin(), ClesIcones().cend()).size(), ClesIcones().size());
        QList<QImage> images;
        for (const QString& cle : ClesIcones()) {
            const QIcon icone = IconeArbre(cle);
            QVERIFY2(!icone.isNull(), qPrintable(cle));
            const QImage image = rendu(icone, 16);
            int opaques = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    opaques += qAlpha(image.pixel(x, y)) > 128;
            QVERIFY2(opaques > 60, qPrintable(cle + u" is almost empty"_s));
            for (qsizetype i = 0; i < images.size(); ++i) {
                // Two keys must differ in a visible area, not just a stray pixel.
                int differents = 0;
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x)
                        differents += images[i].pixel(x, y) != image.pixel(x, y);
                QVERIFY2(differents >= 6, qPrintable(cle + u" looks like "_s + ClesIcones()[i]));
            }
            images << image;
        }
    }

    void unknownOrUpperCaseKeysAndApplicationIcon() {
        QVERIFY(IconeArbre(u"?").isNull());
        QVERIFY(IconeArbre(u"").isNull());
        QVERIFY(!IconeArbre(u"GRP_SEC_GLO").isNull());
        QVERIFY(!IconeApplication().isNull());
        QVERIFY(!IconeApplication().pixmap(64, 64).isNull());
    }
};

QTEST_MAIN(IconesTest)
#include "icones_test.moc"

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
    static QImage rendu(const QIcon& icône, int taille) {
        return icône.pixmap(QSize(taille, taille)).toImage().convertToFormat(QImage::Format_ARGB32);
    }

private slots:
    void eachKeyHasItsOwnDistinctIcon() {
        QCOMPARE(ClésIcônes().size(), 28);
        QCOMPARE(QSet<QString>(ClésIcônes().cbegin(), ClésIcônes().cend()).size(), 28);
        QList<QImage> images;
        for (const QString& clé : ClésIcônes()) {
            const QIcon icône = IcôneArbre(clé);
            QVERIFY2(!icône.isNull(), qPrintable(clé));
            const QImage image = rendu(icône, 16);
            QCOMPARE(image.size(), QSize(16, 16));
            int opaques = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    opaques += qAlpha(image.pixel(x, y)) > 128;
            QVERIFY2(opaques > 60, qPrintable(clé + u" is almost empty"_s));
            for (qsizetype i = 0; i < images.size(); ++i) {
                // Two keys must differ in a visible area, not just a stray pixel.
                int différents = 0;
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x)
                        différents += images[i].pixel(x, y) != image.pixel(x, y);
                QVERIFY2(différents >= 6, qPrintable(clé + u" looks like "_s + ClésIcônes()[i]));
            }
            images << image;
        }
    }

    void unknownOrUpperCaseKeysAndApplicationIcon() {
        QVERIFY(IcôneArbre(u"?").isNull());
        QVERIFY(IcôneArbre(u"").isNull());
        QVERIFY(!IcôneArbre(u"GRP_SEC_GLO").isNull());
        QVERIFY(!IcôneApplication().isNull());
        QVERIFY(!IcôneApplication().pixmap(64, 64).isNull());
    }
};

QTEST_MAIN(IconesTest)
#include "icones_test.moc"

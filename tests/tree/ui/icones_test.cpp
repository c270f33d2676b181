// The tree icons: every image key has its own picture, told apart from all others at 16 px, and a
// contact sheet can be written for a visual check (set ARBRIX_ICON_SHEET to a PNG path).

#include "tree/ui/Icones.h"

#include <QFont>
#include <QImage>
#include <QPainter>
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

    void contactSheetForVisualCheck() {
        const QString chemin = qEnvironmentVariable("ARBRIX_ICON_SHEET");
        if (chemin.isEmpty())
            QSKIP("ARBRIX_ICON_SHEET not set");
        const int colonnes = 4, largeurCase = 180, hauteurCase = 54;
        const int lignes = (ClésIcônes().size() + 1 + colonnes - 1) / colonnes;
        QImage planche(colonnes * largeurCase * 2, lignes * hauteurCase, QImage::Format_ARGB32);
        QPainter p(&planche);
        QFont police = p.font();
        police.setPixelSize(12);
        p.setFont(police);
        for (int fond = 0; fond < 2; ++fond) {
            const QColor couleurFond = fond == 0 ? QColor(0xfa, 0xfa, 0xfa) : QColor(0x2b, 0x2b, 0x2b);
            p.fillRect(fond * colonnes * largeurCase, 0, colonnes * largeurCase, planche.height(),
                       couleurFond);
            p.setPen(fond == 0 ? Qt::black : Qt::white);
            QStringList clés = ClésIcônes();
            clés << u"(application)"_s;
            for (int i = 0; i < clés.size(); ++i) {
                const QIcon icône = i < 28 ? IcôneArbre(clés[i]) : IcôneApplication();
                const int x = fond * colonnes * largeurCase + (i % colonnes) * largeurCase + 6;
                const int y = (i / colonnes) * hauteurCase + 6;
                // The 16 px rendering, and the same pixels enlarged three times to judge them.
                const QPixmap petit = icône.pixmap(16, 16);
                p.drawPixmap(x, y + 8, petit);
                p.drawPixmap(x + 22, y - 2,
                             petit.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::FastTransformation));
                p.drawText(x + 76, y + 26, clés[i]);
            }
        }
        p.end();
        QVERIFY(planche.save(chemin));
    }
};

QTEST_MAIN(IconesTest)
#include "icones_test.moc"

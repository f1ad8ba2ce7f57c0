// At a device pixel ratio of 2 the window keeps its geometry in logical
// pixels, and the picture draws into device pixels: a line is one device
// pixel wide in what reaches the screen.
#include <QScreen>
#include <QtTest>

#include "form_fixture.h"
#include "plot/twips.h"

namespace {

bool dark(QRgb p)
{
    return qGray(p) < 128;
}

} // namespace

class HighDpi : public QObject {
    Q_OBJECT
private slots:
    void geometryInLogicalPixelsAndLinesOneDevicePixelWide()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
        LoadedForm f;
        f->Me.Show();
        QVERIFY(QTest::qWaitForWindowExposed(f->Me.widget()));
        QCOMPARE(plot::TwipsPerPixel(), 15.0);
        QWidget* window = f->Me.widget();
        // The designed twips at 15 a pixel, as on a screen of ratio 1 (the
        // load handler widens the window to the screen).
        QCOMPARE(window->height(), 14265 / 15);
        QCOMPARE(f->Command5.widget()->geometry(), QRect(14400 / 15, 13560 / 15, 2175 / 15, 41));
        QCOMPARE(f->Picture1.widget()->geometry().top(), 360 / 15);
        QCOMPARE(f->Picture1.widget()->geometry().height(), 13095 / 15);

        plot::PictureWidget* picture = f->Picture1.widget();
        const QSize interior = picture->contentsRect().size();
        QCOMPARE(f.image().size(), interior * 2);

        // One vertical and one horizontal line across a cleared picture.
        f->Command6.widget()->click(); // "Löschen"
        f->Picture1.ScaleWidth(100);
        f->Picture1.ScaleHeight(100);
        f->Picture1.Line(50, 0, 50, 100);
        f->Picture1.Line(0, 30, 100, 30);
        picture->present(true);
        const QImage shot = picture->grab(picture->contentsRect()).toImage();
        QCOMPARE(shot.size(), interior * 2);

        const int midRow = shot.height() * 3 / 4, midColumn = shot.width() / 4;
        int darkColumns = 0, darkRows = 0, firstColumn = -1, firstRow = -1;
        for (int x = 0; x < shot.width(); ++x)
            if (dark(shot.pixel(x, midRow)) && ++darkColumns == 1)
                firstColumn = x;
        for (int y = 0; y < shot.height(); ++y)
            if (dark(shot.pixel(midColumn, y)) && ++darkRows == 1)
                firstRow = y;
        QCOMPARE(darkColumns, 1);
        QCOMPARE(darkRows, 1);
        // Where the user scale puts them, to the device pixel.
        QVERIFY(std::abs(firstColumn - shot.width() / 2) <= 1);
        QVERIFY(std::abs(firstRow - int(shot.height() * 0.3)) <= 1);
    }
};

QTEST_MAIN(HighDpi)
#include "test_high_dpi.moc"

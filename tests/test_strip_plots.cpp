// The harmonic strip plots of "Start Rechteck" and "Start Sägezahn", line
// by line and to the bit.
#include <QtTest>
#include <cmath>

#include "form_fixture.h"

namespace {

// Baselines of the square-wave strips, orders 1, 3, ..., 41.
const double squareBases[21] = { 0, 2, 2.666667, 3.066667, 3.352381, 3.574604, 3.756422, 3.910268, 4.043602, 4.161249,
    4.266512, 4.36175, 4.448707, 4.528707, 4.602781, 4.671746, 4.736262, 4.796868, 4.854011, 4.908065, 4.959347 };

float stripTop(int k, float x, float base)
{
    return float((std::sin(double(float(k)) * double(x)) + 1.0) / double(k) + double(base));
}

// Checks one strip's 2500 lines: the columns, the base line and the tops.
void checkStrip(const std::vector<plot::RecordedLine>& lines, size_t first, int order, float base)
{
    const auto xs = sweepColumns();
    for (size_t c = 0; c < xs.size(); ++c) {
        const plot::RecordedLine& l = lines[first + c];
        if (l.x1 != xs[c] || l.x2 != xs[c] || l.y1 != base || l.y2 != stripTop(order, xs[c], base) || l.hasColour)
            QFAIL(qPrintable(QString("order %1, column %2: wrong line").arg(order).arg(c)));
    }
}

} // namespace

class StripPlots : public QObject {
    Q_OBJECT
private slots:
    void sweepHas2500ColumnsEndingJustPast25()
    {
        const auto xs = sweepColumns();
        QCOMPARE(xs.size(), size_t(2500));
        QCOMPARE(double(xs.back()), 24.990476608276367);
        QCOMPARE(double(xs.back() + 0.01f), 25.000476837158203);
    }

    void squareWaveDrawsTwentyOneOddStrips()
    {
        LoadedForm f;
        f->Picture1.StartRecording();
        f->Command1.widget()->click();
        const auto lines = f->Picture1.TakeRecording();
        QCOMPARE(lines.size(), size_t(52500));

        // The order-1 strip comes from the table the fill sweep wrote.
        const auto xs = sweepColumns();
        for (size_t c = 0; c < xs.size(); ++c) {
            QCOMPARE(f->PartialSum(plot::Long(c)), std::sin(double(xs[c])) + 1.0);
            QCOMPARE(lines[c].y2, float(std::sin(double(xs[c])) + 1.0));
        }
        QCOMPARE(f->PartialSum(2500), 0.0);

        float base = 0;
        for (int s = 0; s < 21; ++s) {
            const int order = 2 * s + 1;
            QVERIFY2(std::fabs(base - squareBases[s]) <= 5e-7, qPrintable(QString("base of order %1").arg(order)));
            checkStrip(lines, size_t(s) * 2500, order, base);
            base = float(2.0 / order + double(base));
        }
        QCOMPARE(f->Order, plot::Integer(41));
        QCOMPARE(f->BaseY, float(squareBases[20]));
        QCOMPARE(double(f->PlotX), 25.000476837158203);
        QCOMPARE(f->CurveMode, plot::Integer(1));
        // The last band reaches just above the top edge.
        QCOMPARE(float(2.0 / 41 + double(f->BaseY)), 5.008128f);
    }

    void sawtoothDrawsAHundredStrips()
    {
        LoadedForm f;
        f->Picture1.StartRecording();
        f->Command2.widget()->click();
        const auto lines = f->Picture1.TakeRecording();
        QCOMPARE(lines.size(), size_t(250000));
        float base = 0;
        for (int order = 1; order <= 100; ++order) {
            checkStrip(lines, size_t(order - 1) * 2500, order, base);
            if (order == 10)
                QCOMPARE(base, 5.657937f);
            if (order == 30)
                QCOMPARE(base, 7.923308f);
            if (order == 31)
                QCOMPARE(base, 7.989974f);
            base = float(2.0 / order + double(base));
        }
        QCOMPARE(f->Order, plot::Integer(100));
        QCOMPARE(f->BaseY, 10.354755f);
        QCOMPARE(f->CurveMode, plot::Integer(2));
    }

    void stripsLandWhereTheScaleSaysAndTheTopIsClipped()
    {
        LoadedForm f;
        f->Command1.widget()->click();
        const QImage& img = f.image();
        const QRgb fg = f->Picture1.widget()->foreground(), bg = f->Picture1.widget()->background();
        // At x = pi/2 the order-1 strip is 2 high: filled from the bottom to
        // y = 2, while the order-3 strip above it has its trough there.
        const int col = int(M_PI / 2 / 25 * img.width());
        auto rowOf = [&](double y) { return int((5 - y) / 5 * img.height()); };
        QCOMPARE(img.pixel(col, img.height() - 1), fg);
        QCOMPARE(img.pixel(col, rowOf(1.0)), fg);
        QCOMPARE(img.pixel(col, rowOf(1.95)), fg);
        QCOMPARE(img.pixel(col, rowOf(2.1)), bg);
        // At x = 3 pi/2 the order-1 strip is empty and order 3 at its crest.
        const int col2 = int(3 * M_PI / 2 / 25 * img.width());
        QCOMPARE(img.pixel(col2, rowOf(1.0)), bg);
        QCOMPARE(img.pixel(col2, rowOf(2.3)), fg);
        // Drawing again gives the same picture.
        const QImage once = img.copy();
        f->Command1.widget()->click();
        QCOMPARE(f.image(), once);
    }

    void whiteLineErasesMagenta()
    {
        LoadedForm f;
        f->Command1.widget()->click();
        const QImage& img = f.image();
        const int col = int(10.0 / 25 * img.width());
        f->Picture1.Line(10, 0, 10, 5, plot::RGB(255, 0, 255));
        QCOMPARE(img.pixel(col, img.height() / 2), qRgb(255, 0, 255));
        f->Picture1.Line(10, 0, 10, 5, plot::RGB(255, 255, 255));
        QCOMPARE(img.pixel(col, img.height() / 2), qRgb(255, 255, 255));
        QCOMPARE(f->Picture1.BackColor(), plot::RGB(255, 255, 255));
    }
};

QTEST_MAIN(StripPlots)
#include "test_strip_plots.moc"

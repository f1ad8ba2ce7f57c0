// Pure pieces of the plot layer: pixel mapping and clipping, checked
// arithmetic, the choice of twips per pixel, a picture drawn again at
// another size, the tone's waveform.
#include <QtTest>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <vector>

#include "plot/numeric.h"
#include "plot/pixel_mapping.h"
#include "picture_core.h"
#include "plot/twips.h"
#include "sum_wave.h"
#include "telling.h"

using namespace plot;

namespace {
template <class F>
ErrorCode errorOf(F&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.code();
    }
    return ErrorCode::Internal; // nothing raised
}

// The sine and cosine coefficients of harmonic k in one period.
std::pair<double, double> harmonic(const std::vector<float>& period, int k)
{
    double s = 0, c = 0;
    const int n = int(period.size());
    for (int i = 0; i < n; ++i) {
        const double phase = 2 * std::numbers::pi * k * i / n;
        s += period[i] * std::sin(phase);
        c += period[i] * std::cos(phase);
    }
    return { 2 * s / n, 2 * c / n };
}
} // namespace

class PlotUnits : public QObject {
    Q_OBJECT
private slots:
    void userScaleWithUpwardY()
    {
        // x 0..25 across 1000 pixels, y 0 at the bottom to 5 at the top.
        const PixelMapping m({ 0, 5, 25, -5 }, 1000, 500);
        QCOMPARE(m.column(0), 0.0);
        QCOMPARE(m.column(25), 1000.0);
        QCOMPARE(m.row(5), 0.0);
        QCOMPARE(m.row(0), 500.0);
        QCOMPARE(m.row(2.5), 250.0);
    }

    void verticalSegmentsIncludeEndsAndClip()
    {
        const PixelMapping m({ 0, 5, 25, -5 }, 1000, 500);
        // From the bottom edge (row 500, just outside) up to y = 2.5.
        auto s = m.segment(10, 0, 10, 2.5);
        QVERIFY(s);
        QCOMPARE(s->x1, 400);
        QCOMPARE(s->y1, 499);
        QCOMPARE(s->y2, 250);
        // Reaching above the top edge: cut at row 0.
        s = m.segment(1, 4, 1, 5.008128);
        QVERIFY(s);
        QCOMPARE(s->y2, 0);
        QCOMPARE(s->y1, 100);
        // Wholly above the top edge, at the right edge, left of the left edge.
        QVERIFY(!m.segment(1, 8.05, 1, 10.37));
        QVERIFY(!m.segment(25, 1, 25, 2));
        QVERIFY(!m.segment(-0.001f, 1, -0.001f, 2));
    }

    void farAwayAndBrokenCoordinatesDoNotOverflow()
    {
        const PixelMapping m({ 0, 0, 25, 5 }, 100, 100);
        QVERIFY(!m.segment(1e30, 1, 1e30, 2));
        QVERIFY(!m.segment(std::nan(""), 1, std::nan(""), 2));
        auto s = m.segment(1, -1e30, 1, 1e30);
        QVERIFY(s);
        QCOMPARE(std::min(s->y1, s->y2), 0);
        QCOMPARE(std::max(s->y1, s->y2), 99);
    }

    void slantedSegmentsAreClippedIntoTheGrid()
    {
        const PixelMapping m({ 0, 0, 100, 100 }, 100, 100);
        auto s = m.segment(-50, -50, 150, 150);
        QVERIFY(s);
        for (int v : { s->x1, s->y1, s->x2, s->y2 })
            QVERIFY(v >= 0 && v <= 99);
        QVERIFY(!m.segment(-10, 5, 5, -10)); // passes the corner outside
    }

    void roundingToLongIsToNearestEven()
    {
        QCOMPARE(CLng(0.5), 0);
        QCOMPARE(CLng(1.5), 2);
        QCOMPARE(CLng(2.5), 2);
        QCOMPARE(CLng(-2.5), -2);
        QCOMPARE(CLng(2499.0000000001), 2499);
        QCOMPARE(errorOf([] { CLng(3e9); }), ErrorCode::Overflow);
    }

    void checkedArithmeticRaises()
    {
        QCOMPARE(AddInteger(32766, 1), Integer(32767));
        QCOMPARE(errorOf([] { AddInteger(32767, 1); }), ErrorCode::Overflow);
        QCOMPARE(errorOf([] { SubtractInteger(1, -32768); }), ErrorCode::Overflow);
        QCOMPARE(errorOf([] { Divide(2, 0); }), ErrorCode::DivisionByZero);
        QCOMPARE(errorOf([] { Divide(0, 0); }), ErrorCode::Overflow);
        QCOMPARE(errorOf([] { Checked(DBL_MAX * 2); }), ErrorCode::Overflow);
        QCOMPARE(errorOf([] { CSng(1e39); }), ErrorCode::Overflow);
        QCOMPARE(errorOf([] { Sin(INFINITY); }), ErrorCode::Overflow);
        QCOMPARE(CSng(1.0 / 3.0), 1.0f / 3.0f);
    }

    void arrayIndexIsTestedBeforeTheAccess()
    {
        CheckedArray<double, 0, 2500> table;
        QCOMPARE(table(2500), 0.0);
        table(0) = 1.5;
        QCOMPARE(table(0), 1.5);
        QCOMPARE(errorOf([&] { table(2501) = 1; }), ErrorCode::SubscriptOutOfRange);
        QCOMPARE(errorOf([&] { table(-1); }), ErrorCode::SubscriptOutOfRange);
        const RuntimeError e(ErrorCode::SubscriptOutOfRange);
        QCOMPARE(QString::fromStdString(e.message()), QString("Laufzeitfehler '9': Index außerhalb des gültigen Bereichs"));
    }

    void twipsPerPixelFitsTheDesignIntoTheScreen()
    {
        // A large screen keeps the screen's own 15 twips a pixel.
        QCOMPARE(ChooseTwipsPerPixel({ 96, 1920, 1160, 0, 0 }, 16585, 14265), 15.0);
        QCOMPARE(ChooseTwipsPerPixel({ 120, 2560, 1400, 0, 0 }, 16585, 14265), 12.0);
        // A 1024x768 projector: the height decides.
        const double tpp = ChooseTwipsPerPixel({ 96, 1024, 768, 0, 0 }, 16585, 14265);
        QVERIFY(14265 / tpp <= 768);
        QVERIFY(16585 / tpp <= 1024);
        QCOMPARE(tpp, 14265.0 / 768);
        // A frame takes its share.
        QCOMPARE(ChooseTwipsPerPixel({ 96, 1024, 768, 8, 32 }, 16585, 14265), 14265.0 / 736);
    }

    // Overlapping vertical lines in several scales, with a clear between
    // (the backwards redraw), then a slanted one among them (the forward
    // one), the log compacted on the way, once in steps between which
    // lines and a scale come, once at once: drawn again at another size,
    // the pixels of drawing them there.
    void redrawnPictureEqualsOneDrawnAtItsSize()
    {
        for (const bool slanted : { false, true }) {
            detail::PictureCore moved, direct;
            moved.keepLines();
            moved.resize(300, 200, 4500, 3000);
            direct.resize(557, 411, 4500, 3000);
            std::uint32_t seed = 7;
            auto next = [&seed](int range) { return Single((seed = seed * 1103515245 + 12345) >> 16 & 0x7fff) * range / 32768; };
            for (auto* core : { &moved, &direct }) {
                seed = 7;
                for (int i = 0; i < 4000; ++i) {
                    if (i == 1000)
                        core->cls();
                    if (i >= 2100 && i % 10 == 0 && core->log && (i == 2100 || core->log->compacting()))
                        core->log->compactStep(97);
                    if (i == 3999 && core->log)
                        core->log->compact();
                    if (i % 700 == 0)
                        core->setScale({ next(5), next(8), 25 + next(5), -5 - next(3) });
                    const Single x = Single(int(next(60))) / 2, y1 = next(12) - 3, y2 = y1 + next(8) - 2;
                    core->line(x, y1, slanted && i == 3000 ? x + 4 : x, y2, i % 3 != 0, RGB(i % 256, 0, 255));
                }
            }
            moved.redrawAt(557, 411);
            QVERIFY2(moved.log->size() < 2500, std::to_string(moved.log->size()).c_str());
            QCOMPARE(moved.scale.width, direct.scale.width);
            QVERIFY(std::equal(moved.raster.pixels(), moved.raster.pixels() + 557 * 411, direct.raster.pixels()));
        }
    }

    void progressIsToldAtMostEveryTwoSeconds()
    {
        detail::TellingPace pace;
        QVERIFY(pace.admit(Pace::Progress, 100.0)); // the first always
        QVERIFY(!pace.admit(Pace::Progress, 101.9));
        QVERIFY(pace.admit(Pace::Progress, 102.0));
        // A change of state goes out at once and starts the two seconds anew.
        QVERIFY(pace.admit(Pace::Always, 102.5));
        QVERIFY(pace.admit(Pace::Always, 102.6));
        QVERIFY(!pace.admit(Pace::Progress, 104.5));
        QVERIFY(pace.admit(Pace::Progress, 104.6));
    }

    // Steps of a square and of a sawtooth run: the fundamental alone, the
    // slow orders, the whole run. Each harmonic of the period is the
    // series' sin(kx)/k at one common gain, nothing else sounds, the
    // loudness stays and the peak stays below -3 dBFS.
    void toneIsTheSeriesAtEachStepOfARun()
    {
        using detail::SumWave;
        for (const auto& [step, lasts] : { std::pair { 2, std::vector { 1, 3, 7, 103 } }, { 1, { 1, 2, 6, 100 } } }) {
            for (int last : lasts) {
                SumWave wave;
                for (int k = 1; k <= last; k += step)
                    wave.Add(k);
                std::vector<float> period(SumWave::tableSize);
                wave.Period(period.data());
                double squares = 0, peak = 0;
                for (float v : period) {
                    squares += double(v) * v;
                    peak = std::max(peak, std::fabs(double(v)));
                }
                QVERIFY(std::fabs(std::sqrt(squares / period.size()) - SumWave::levelRms) < 0.01);
                QVERIFY(peak <= SumWave::peakLimit);
                for (int k = 1; k <= 120; ++k) {
                    const bool in = k <= last && (k - 1) % step == 0;
                    const auto [sine, cosine] = harmonic(period, k);
                    QVERIFY2(std::fabs(sine - (in ? wave.Gain() / k : 0)) < 1e-5, qPrintable(QString::number(k)));
                    QVERIFY(std::fabs(cosine) < 1e-5);
                    QCOMPARE(wave.Amplitude(k), in ? wave.Gain() / k : 0.0);
                }
            }
        }
    }

    // A change fades over its 10 ms: no step between two samples steeper
    // than the waves before and after it have anyway (a click); and
    // silence is silent.
    void toneChangesWithoutAClick()
    {
        detail::SumWave wave;
        detail::ToneRenderer renderer(44100);
        const size_t fade = size_t(detail::ToneRenderer::fadeSeconds * 44100);
        std::vector<float> out(4410);
        const auto steepest = [&](size_t from, size_t to) {
            float jump = 0;
            for (size_t i = from; i < to; ++i)
                jump = std::max(jump, std::fabs(out[i] - out[i - 1]));
            return jump;
        };
        float before = 0;
        for (int last : { 1, 3, 41, 103, 0, 101 }) {
            wave.Clear();
            for (int k = 1; k <= last; k += 2)
                wave.Add(k);
            renderer.Change(wave);
            renderer.Render(out.data(), int(out.size()));
            const float after = steepest(fade + 1, out.size());
            QVERIFY(steepest(1, fade) <= std::max(before, after) * 1.02f + 1e-4f);
            QCOMPARE(renderer.Quiet(), last == 0);
            if (last == 0)
                QCOMPARE(std::count(out.begin() + fade, out.end(), 0.0f), long(out.size() - fade));
            before = after;
        }
    }
};

QTEST_APPLESS_MAIN(PlotUnits)
#include "test_plot_units.moc"

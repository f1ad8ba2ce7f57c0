// "Ordnungen aufaddieren": complete runs line by line, and clicks that
// arrive at chosen event pumps while a run is in progress.
#include <QAccessible>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "form_fixture.h"
#include "plot/events.h"

using plot::Integer;
using plot::RecordedLine;

namespace {

constexpr plot::Colour magenta = plot::RGB(255, 0, 255);
constexpr plot::Colour white = plot::RGB(255, 255, 255);

// A wavesum window with clicks scheduled at event pumps.
struct ScriptedForm : LoadedForm {
    ScriptedForm()
    {
        plot::testing::SetPumpHook([this](std::uint64_t pump) {
            maxRuns = std::max(maxRuns, form->ActiveRuns);
            if (watch)
                watch();
            auto [first, last] = script.equal_range(pump);
            for (auto it = first; it != last; ++it)
                it->second();
        });
    }
    // Posts a click that the pump's own event processing delivers.
    void clickAt(std::uint64_t pump, plot::Button& button)
    {
        script.emplace(pump, [w = button.widget()] { QMetaObject::invokeMethod(w, "click", Qt::QueuedConnection); });
    }
    void at(std::uint64_t pump, std::function<void()> action) { script.emplace(pump, std::move(action)); }
    size_t linesSoFar() const { return form->Picture1.widget()->core.recording->size(); }

    std::multimap<std::uint64_t, std::function<void()>> script;
    Integer maxRuns = 0;
    // Runs at every pump, before the script's clicks.
    std::function<void()> watch;
};

std::pair<double, double> rangeOf(const Form1::SumTable& t)
{
    double lo = 1e9, hi = -1e9;
    for (plot::Long i = 0; i < 2500; ++i)
        lo = std::min(lo, t(i)), hi = std::max(hi, t(i));
    return { lo, hi };
}

using Key = std::tuple<float, float, float, float>;
Key keyOf(const RecordedLine& l)
{
    return { l.x1, l.y1, l.x2, l.y2 };
}

// Pumps of a complete square-wave run: 5000 in the first adding sweep,
// 5000 for each of orders 5 and 7, one before each fast order and 5000 in
// its sweep.
constexpr std::uint64_t phase3FirstPump = 5001;
constexpr std::uint64_t phase4FirstPump = 15001;

} // namespace

class AddingUp : public QObject {
    Q_OBJECT
    QImage squareRunPicture;
private slots:
    // A complete square-wave run, line by line and Delay by Delay, and a
    // second one after it.
    void completeSquareWaveRun()
    {
        ScriptedForm f;
        f->Picture1.StartRecording();
        f->Command1.widget()->click();
        const auto strips = f->Picture1.TakeRecording();
        std::map<std::uint64_t, std::uint64_t> sines;
        for (std::uint64_t p : { 2, 3, 4, 5, 5002, 5003, 5004, 15003, 15004, 15005 })
            f.at(p, [&sines, p] { sines[p] = plot::SinCount(); });
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        const auto lines = f->Picture1.TakeRecording();

        QCOMPARE(lines.size(), size_t(507500));
        QCOMPARE(plot::testing::PumpCount(), std::uint64_t(5000 + 10000 + 48 * 5001));
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->BaseY, 5.895353f);
        QCOMPARE(double(f->PlotX), 25.000476837158203);
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->ActiveRuns, Integer(0));
        const auto [lo, hi] = rangeOf(f->NextSum);
        QVERIFY(std::fabs(lo - 2.03) < 0.01 && std::fabs(hi - 3.88) < 0.01);

        // Highlight, then per column of the first adding sweep the white
        // strip line before the magenta increment.
        QVERIFY(std::all_of(lines.begin(), lines.begin() + 2500, [](auto& l) { return l.colour == magenta; }));
        for (size_t c = 0; c < 2500; ++c) {
            const RecordedLine& wipe = lines[2500 + 2 * c];
            const RecordedLine& grow = lines[2501 + 2 * c];
            QVERIFY(wipe.hasColour && wipe.colour == white && wipe.y1 == 2.0f);
            QVERIFY(grow.hasColour && grow.colour == magenta && grow.x1 == wipe.x1);
        }
        // A preparation sweep: sum bar in the default colour, then the strip.
        QVERIFY(!lines[7500].hasColour && lines[7500].y1 == 0.0f);
        QVERIFY(lines[7501].colour == magenta && lines[7501].y1 == float(2.0 / 3.0 + 2.0));

        // Every strip but order 1 is wiped by a white line on its very line.
        std::set<Key> wiped;
        for (const auto& l : lines)
            if (l.hasColour && l.colour == white)
                wiped.insert(keyOf(l));
        for (size_t i = 2500; i < strips.size(); ++i)
            QVERIFY(wiped.count(keyOf(strips[i])));

        // Nothing of the strips is left above the sum curve.
        const QImage& img = f.image();
        for (int y = 0; y < img.height() / 5; ++y)
            for (int x = 0; x < img.width(); x += 5)
                QCOMPARE(img.pixel(x, y), qRgb(255, 255, 255));
        squareRunPicture = img.copy();

        // First adding column: term, two delays and the strip top.
        QCOMPARE(sines[3] - sines[2], std::uint64_t(20002));
        QCOMPARE(sines[5] - sines[4], std::uint64_t(20002));
        QCOMPARE(sines[4] - sines[3], std::uint64_t(0)); // two pumps per column
        // Slow adding column: two delays and the strip top.
        QCOMPARE(sines[5003] - sines[5002], std::uint64_t(20001));
        QCOMPARE(sines[5004] - sines[5003], std::uint64_t(0));
        // Fast adding column (after the pump before order 9): only the
        // strip top.
        QCOMPARE(sines[15004] - sines[15003], std::uint64_t(1));
        QCOMPARE(sines[15005] - sines[15004], std::uint64_t(0));

        // A second run starts from the first run's sums.
        const double before = f->PartialSum(0);
        QVERIFY(before != 1.0);
        f.script.clear();
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QCOMPARE(f->Picture1.TakeRecording()[2501].y1, float(before));
    }

    // What a screen reader is told of a complete run, held once at order 5:
    // each slow order once as it begins, hold and resume, the fast phase as
    // it begins, then growing orders at most every two seconds, the end;
    // never a column.
    // Read at every event pump, as a screen reader could read it.
    void aScreenReaderHearsTheRunOrderByOrder()
    {
        ScriptedForm f;
        const std::string empty = f->Picture1.Description();
        f->Command1.widget()->click();
        std::vector<QString> told;
        f.watch = [&] {
            const QString now = QString::fromStdString(f->Picture1.Description());
            if (told.empty() || told.back() != now)
                told.push_back(now);
        };
        f.clickAt(phase3FirstPump, f->Command4);
        f.at(phase3FirstPump + 2,
            [&] { QTimer::singleShot(50, f->Command4.widget(), [&] { f->Command4.widget()->click(); }); });
        QElapsedTimer run;
        run.start();
        f->Command3.widget()->click();
        const double seconds = run.elapsed() / 1000.0;
        f.watch();

        const QRegularExpression order("Ordnung (\\d+)");
        auto orderIn = [&](const QString& text) { return order.match(text).captured(1).toInt(); };
        QVERIFY2(told.size() >= 7, qPrintable(QString::number(told.size())));
        const std::vector<std::pair<QString, int>> slowPart { { "Langsame Phase", 3 }, { "Langsame Phase", 5 },
            { "Angehalten bei", 5 }, { "Langsame Phase", 5 }, { "Langsame Phase", 7 } };
        for (size_t i = 0; i < slowPart.size(); ++i)
            QVERIFY2(told[i].startsWith(slowPart[i].first) && orderIn(told[i]) == slowPart[i].second,
                qPrintable(told[i]));
        QVERIFY(told[4].contains("schon 3 Ordnungen, 1 bis 5"));
        int fast = 0, last = 7;
        for (size_t i = slowPart.size(); i + 1 < told.size(); ++i, ++fast) {
            QVERIFY2(told[i].startsWith("Schnelle Phase: Ordnung") && orderIn(told[i]) > last, qPrintable(told[i]));
            last = orderIn(told[i]);
        }
        QVERIFY(told[slowPart.size()].startsWith("Schnelle Phase: Ordnung 9 "));
        QVERIFY2(fast >= 1 && fast <= 2 + seconds / 2, qPrintable(QString("%1 in %2 s").arg(fast).arg(seconds)));
        QVERIFY2(told.back().startsWith("Fertig") && told.back().contains("Rechteckform"), qPrintable(told.back()));

        // What assistive technology reads: an image with that description;
        // after "Löschen" the empty picture's again.
        QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(f->Picture1.widget());
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QCOMPARE(picture->text(QAccessible::Name), QString("Harmonische und Summenkurve"));
        QCOMPARE(picture->text(QAccessible::Description), told.back());
        f->Command6.widget()->click();
        QCOMPARE(picture->text(QAccessible::Description), QString::fromStdString(empty));
        QVERIFY(empty.starts_with("Das Bild ist leer."));
    }

    // A dark desktop palette (Breeze Dark, qt6ct's "darker") must not reach
    // the picture: the run erases with white, so only white paper works.
    void darkDesktopPaletteLeavesThePictureAsOnWhitePaper()
    {
        auto completeRun = [] {
            ScriptedForm f;
            f->Command1.widget()->click();
            f->Command3.widget()->click();
            return f.image().copy();
        };
        // The picture of the complete run under the default palette, as
        // completeSquareWaveRun drew it (unless this function runs alone).
        const QImage normal = squareRunPicture.isNull() ? completeRun() : squareRunPicture;

        const QPalette before = QApplication::palette();
        QPalette dark(QColor(0x31, 0x36, 0x3b));
        dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
        dark.setColor(QPalette::Text, QColor(0xfc, 0xfc, 0xfc));
        dark.setColor(QPalette::WindowText, QColor(0xfc, 0xfc, 0xfc));
        QApplication::setPalette(dark);
        const QImage darkRun = completeRun();
        QApplication::setPalette(before);

        QVERIFY(!normal.isNull());
        QCOMPARE(darkRun, normal);
        // Paper above the sum curve, black ink at its foot.
        QCOMPARE(darkRun.pixel(darkRun.width() / 2, 0), qRgb(255, 255, 255));
        QCOMPARE(darkRun.pixel(darkRun.width() / 2, darkRun.height() - 1), qRgb(0, 0, 0));
    }

    void completeSawtoothRunsStartAgainFromTheFundamental()
    {
        ScriptedForm f;
        f->Command2.widget()->click();
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QCOMPARE(f->Picture1.TakeRecording().size(), size_t(987500));
        QCOMPARE(f->Order, Integer(100));
        QCOMPARE(f->BaseY, 10.354755f);
        const auto [lo, hi] = rangeOf(f->NextSum);
        QVERIFY(std::fabs(lo - 3.36) < 0.01 && std::fabs(hi - 7.02) < 0.01);

        std::vector<double> first;
        for (plot::Long i = 0; i < 2500; ++i)
            first.push_back(f->NextSum(i));
        f->Command3.widget()->click();
        for (plot::Long i = 0; i < 2500; ++i)
            QCOMPARE(f->NextSum(i), first[size_t(i)]);
    }

    void pausedBeforeTheRunHoldsAfterTheHighlight()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        f->Command4.widget()->click();
        f->Picture1.StartRecording();
        size_t held = 0;
        f.at(3, [&] { held = f.linesSoFar(); });
        f.clickAt(3, f->Command4); // "weiter"
        f->Command3.widget()->click();
        QCOMPARE(held, size_t(2500));
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
    }

    void pauseHoldsAtTheFirstColumnOfEachPhase_data()
    {
        QTest::addColumn<int>("pump");
        QTest::addColumn<int>("linesWhenHeld");
        QTest::addColumn<int>("order");
        QTest::newRow("phase 2") << 1 << 2500 << 3;
        QTest::newRow("phase 3") << int(phase3FirstPump) << 12500 << 5;
        // The pump before an order: its preparation sweep comes first.
        QTest::newRow("phase 4") << int(phase4FirstPump) << 32500 << 9;
    }

    void pauseHoldsAtTheFirstColumnOfEachPhase()
    {
        QFETCH(int, pump);
        QFETCH(int, linesWhenHeld);
        QFETCH(int, order);
        ScriptedForm f;
        f->Command1.widget()->click();
        f->Picture1.StartRecording();
        f.clickAt(std::uint64_t(pump), f->Command4);
        // The wait pumps once and returns, then blocks for the next event:
        // two pumps after the click's, three when the click came before an
        // order and its first column's pump follows.
        const std::uint64_t blocking = std::uint64_t(pump) + (order == 9 ? 3 : 2);
        size_t held = 0;
        Integer heldOrder = 0;
        std::string caption;
        f.at(blocking, [&] {
            held = f.linesSoFar();
            heldOrder = f->Order;
            caption = f->Command4.Caption();
            QTimer::singleShot(50, f->Command4.widget(), [&] { f->Command4.widget()->click(); });
        });
        f->Command3.widget()->click();
        QCOMPARE(int(held), linesWhenHeld);
        QCOMPARE(int(heldOrder), order);
        QCOMPARE(caption, std::string("weiter"));
        // The wait slept through the 50 ms instead of pumping round.
        const std::uint64_t completeRun = 5000 + 10000 + 48 * 5001;
        QVERIFY(plot::testing::PumpCount() <= completeRun + 10);
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
    }

    void clearEndsTheRun_data()
    {
        QTest::addColumn<int>("pausedAt");
        QTest::addColumn<int>("clearAt");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("order");
        // Pump 3 is the pause wait's blocking pump.
        QTest::newRow("while paused") << 1 << 3 << 2500 << 3;
        QTest::newRow("phase 4, before an order") << 0 << int(phase4FirstPump) << 27500 << 7;
        // Column 2499 of order 9: ends before that column is drawn.
        QTest::newRow("phase 4, in a column") << 0 << 15002 + 2 * 2499 << 32500 + 2 * 2499 << 9;
    }

    void clearEndsTheRun()
    {
        QFETCH(int, pausedAt);
        QFETCH(int, clearAt);
        QFETCH(int, lines);
        QFETCH(int, order);
        ScriptedForm f;
        f->Command1.widget()->click();
        f->Picture1.StartRecording();
        if (pausedAt)
            f.clickAt(std::uint64_t(pausedAt), f->Command4);
        f.clickAt(std::uint64_t(clearAt), f->Command6);
        f->Command3.widget()->click();
        QCOMPARE(int(f.linesSoFar()), lines);
        QCOMPARE(int(f->Order), order);
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->CurveMode, Integer(0));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
        QVERIFY(f->Command1.Enabled() && f->Command2.Enabled());
        const QImage& img = f.image();
        QCOMPARE(img.pixel(img.width() / 2, img.height() - 2), qRgb(255, 255, 255));
        // The next press draws nothing: no curve is shown.
        f->Command3.widget()->click();
        QCOMPARE(int(f.linesSoFar()), lines);
    }

    void startButtonNestedMidRunRedrawsAndTheRunGoesOn()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        f.clickAt(1001, f->Command1);
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QVERIFY(f.errors.empty());
        // Highlight, 500 columns, the strip plot, then the interrupted
        // column at the strip plot's x, past the last one (index 2500),
        // then orders 43 to 103 at full speed.
        QCOMPARE(int(f.linesSoFar()), 2500 + 1000 + 52500 + 2 + 31 * 10000);
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->RunState, Integer(0));
    }

    void secondRunNestsInTheFirst()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        f.clickAt(1001, f->Command3);
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QCOMPARE(f.maxRuns, Integer(2));
        QCOMPARE(int(f.linesSoFar()), 3500 + 507500 + 2);
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->ActiveRuns, Integer(0));
    }

    void secondPressAfterAClearOnlyResetsTheRequest()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        f.clickAt(1001, f->Command6);
        f.clickAt(1001, f->Command3);
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        // The inner press consumed the request; the outer run goes on.
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->RunState, Integer(0));
    }

    void entryStates()
    {
        ScriptedForm f;
        f->Picture1.StartRecording();
        f->Command3.widget()->click(); // no curve shown
        QCOMPARE(f.linesSoFar(), size_t(0));
        QCOMPARE(f->RunState, Integer(0));

        f->Command1.widget()->click();
        f->Picture1.StartRecording();
        f->RunState = 3; // a clear request nobody consumed
        f->Command3.widget()->click();
        QCOMPARE(f.linesSoFar(), size_t(0));
        QCOMPARE(f->RunState, Integer(0));

        // -2 holds the run at its first pause wait; one more toggle makes
        // it a clear request, which ends it.
        f->RunState = -2;
        f.clickAt(3, f->Command4);
        f->Command3.widget()->click();
        QCOMPARE(f.linesSoFar(), size_t(2500));
        QCOMPARE(f->RunState, Integer(0));
    }

    void endMidRunDrawsNothingMore()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        f.clickAt(1001, f->Command5);
        size_t atEnd = 0;
        f.at(1001, [&] { atEnd = f.linesSoFar(); });
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 0);
        QCOMPARE(f.linesSoFar(), atEnd);
        QCOMPARE(f->ActiveRuns, Integer(0));
        QVERIFY(f.errors.empty());
    }

    void closingTheWindowEndsTheProgramInEveryPhase_data()
    {
        QTest::addColumn<bool>("sawtooth");
        QTest::addColumn<quint64>("pump");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("order"); // the order being added at the close
        QTest::newRow("square, first adding") << false << quint64(1001) << false << 3;
        QTest::newRow("square, slow adding") << false << quint64(phase3FirstPump + 2) << false << 5;
        QTest::newRow("square, held") << false << quint64(phase3FirstPump + 7000) << true << 7;
        QTest::newRow("square, before a fast order") << false << quint64(phase4FirstPump) << false << 7;
        QTest::newRow("square, fast adding") << false << quint64(phase4FirstPump + 3 * 5001 + 17) << false << 15;
        QTest::newRow("sawtooth, first adding") << true << quint64(4999) << false << 2;
        QTest::newRow("sawtooth, slow adding") << true << quint64(20001) << false << 6;
        QTest::newRow("sawtooth, held") << true << quint64(3000) << true << 2;
        QTest::newRow("sawtooth, fast adding") << true << quint64(25001 + 50 * 5001 + 1) << false << 57;
    }
    void closingTheWindowEndsTheProgramInEveryPhase()
    {
        QFETCH(bool, sawtooth);
        QFETCH(quint64, pump);
        QFETCH(bool, paused);
        QFETCH(int, order);
        ScriptedForm f;
        f->Me.Show();
        (sawtooth ? f->Command2 : f->Command1).widget()->click();
        size_t atClose = 0;
        Integer orderAtClose = 0;
        auto closeNow = [&] {
            atClose = f.linesSoFar();
            orderAtClose = f->Order;
            f->Me.widget()->close();
        };
        if (paused) {
            // Held at this pump's column; the close box is clicked while
            // the run waits.
            f.clickAt(pump, f->Command4);
            f.at(pump, [&] { QTimer::singleShot(30, f->Me.widget(), closeNow); });
        } else {
            f.at(pump, [&] { QTimer::singleShot(0, f->Me.widget(), closeNow); });
        }
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 0);
        QCOMPARE(int(orderAtClose), order);
        QCOMPARE(f->RunState, Integer(paused ? 1 : 0));
        // The close is handled at that pump: nothing more is drawn.
        QCOMPARE(f.linesSoFar(), atClose);
        QVERIFY(f.errors.empty());
    }

    // A fault in the middle of two nested runs, each of a kind the run's own
    // checks catch: one message, the program ends with a non-zero status,
    // both runs are abandoned and nothing more is drawn.
    void faultsMidRunAreReportedOnceAndEndEveryRun_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("index") << 0 << "Laufzeitfehler '9': Index außerhalb des gültigen Bereichs";
        QTest::newRow("division by zero") << 2 << "Laufzeitfehler '11': Division durch Null";
        QTest::newRow("floating-point overflow") << 3 << "Laufzeitfehler '6': Überlauf";
        QTest::newRow("invalid operation") << 4 << "Laufzeitfehler '6': Überlauf";
    }
    void faultsMidRunAreReportedOnceAndEndEveryRun()
    {
        QFETCH(int, fault);
        QFETCH(QString, message);
        ScriptedForm f;
        f->Command1.widget()->click();
        f.clickAt(101, f->Command3); // a nested run, in its first adding sweep
        // In the inner run's first adding sweep. (The 16-bit counters'
        // overflow has its own test with the pause toggle: the loop tests
        // keep Order far from the limit.)
        const std::uint64_t at = 300;
        size_t atFault = 0;
        f.at(at, [&] {
            atFault = f.linesSoFar();
            switch (fault) {
            case 0: f->PlotX = -1; break;
            case 2: f->Order = 0; break;
            case 3: for (plot::Long i = 0; i <= 2500; ++i) f->PartialSum(i) = 1e300 * 1e8; break;
            case 4: for (plot::Long i = 0; i <= 2500; ++i) f->PartialSum(i) = std::nan(""); break;
            }
        });
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QCOMPARE(int(f.errors.size()), 1);
        QCOMPARE(QString::fromStdString(f.errors[0]), message);
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 1);
        QCOMPARE(f.maxRuns, Integer(2));
        QCOMPARE(f->ActiveRuns, Integer(0));
        // At most the column in progress was begun before the fault.
        QVERIFY(f.linesSoFar() <= atFault + 1);
    }

    void nestingIsBounded()
    {
        ScriptedForm f;
        f->Command1.widget()->click();
        // Every run's first pump starts one more, past the bound.
        for (std::uint64_t p = 1; p <= 80; ++p)
            f.clickAt(p, f->Command3);
        f->Command3.widget()->click();
        QCOMPARE(f.maxRuns, Form1::MaxNestedRuns);
        QVERIFY(f.errors.empty());
        QCOMPARE(f->Order, Integer(103));
        QCOMPARE(f->ActiveRuns, Integer(0));
        QCOMPARE(f->RunState, Integer(0));
    }

    void runsAroundAFinishedNestedRunEndTheirSweep()
    {
        // Three runs: the innermost completes, the middle one draws its
        // column at index 2500 and leaves PlotX one step further; the
        // outermost must not go on to index 2501.
        ScriptedForm f;
        f->Command2.widget()->click();
        f.clickAt(101, f->Command3);
        f.clickAt(203, f->Command3);
        f->Picture1.StartRecording();
        f->Command3.widget()->click();
        QVERIFY2(f.errors.empty(), f.errors.empty() ? "" : f.errors[0].c_str());
        QCOMPARE(f.maxRuns, Integer(3));
        QCOMPARE(f->Order, Integer(100));
        QVERIFY(f->PlotX > 25.0f);
        // Highlight, 50 and 50 columns, a complete run, one column at 2500.
        QCOMPARE(int(f.linesSoFar()), 2500 + 100 + 100 + 2500 + 987500 + 2);
    }

    void nestedSawtoothPlotInsideANestedRunLeavesNoIndexBehind()
    {
        ScriptedForm f;
        f->Command2.widget()->click();
        f.clickAt(101, f->Command3);
        f.clickAt(203, f->Command2);
        f->Command3.widget()->click();
        QVERIFY2(f.errors.empty(), f.errors.empty() ? "" : f.errors[0].c_str());
        QCOMPARE(f->Order, Integer(100));
        QCOMPARE(f->ActiveRuns, Integer(0));
    }
};

QTEST_MAIN(AddingUp)
#include "test_adding_up.moc"

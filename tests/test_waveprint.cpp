// waveprint: its window, the screen strip plot and the printed page.
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>
#include <random>

#include "form1.h"
#include "pdf_page.h"
#include "picture_widget.h"
#include "plot/printer.h"
#include "plot/runtime_error.h"
#include "plot/testing.h"
#include "plot/twips.h"
#include "widgets.h"

using plot::Integer;
using plot::PrinterCall;
using Kind = plot::PrinterCall::Kind;

namespace {

struct LoadedWaveprint {
    LoadedWaveprint()
    {
        plot::testing::ResetRuntime();
        plot::SetErrorReporter([this](const plot::RuntimeError& e) { errors.push_back(e.message()); });
        form = std::make_unique<Form1>();
        form->Me.Load();
    }
    ~LoadedWaveprint()
    {
        plot::testing::PrintToPdf("");
        plot::testing::ResetRuntime();
    }
    Form1* operator->() { return form.get(); }
    const QImage& image() const { return form->Picture1.widget()->image(); }

    std::unique_ptr<Form1> form;
    std::vector<std::string> errors;
};

// The strip bases as the plot lists them, to six decimals.
const double listedBases[] = { 0, 2, 2.666667, 3.066667, 3.352381, 3.574604 };
const double listedTopBases[] = { 4.854011, 4.908065, 4.959347 }; // orders 37, 39, 41

void checkStripPlot(const std::vector<plot::RecordedLine>& lines)
{
    QCOMPARE(lines.size(), size_t(105021));
    for (size_t strip = 0; strip < 21; ++strip) {
        const auto& first = lines[strip * 5001];
        const auto& last = lines[strip * 5001 + 5000];
        QCOMPARE(first.x1, 0.0f);
        QCOMPARE(double(last.x1), 24.998807907104492);
        QCOMPARE(last.y1, first.y1); // one base line per strip
        if (strip < 6)
            QVERIFY(std::fabs(first.y1 - listedBases[strip]) < 5e-7);
        if (strip >= 18)
            QVERIFY(std::fabs(first.y1 - listedTopBases[strip - 18]) < 5e-7);
    }
    // Columns step by the float nearest to 0.005, each line vertical.
    QCOMPARE(lines[1].x1, 0.005f);
    for (const auto& l : lines)
        QVERIFY(l.x1 == l.x2 && !l.hasColour);
    // The order-41 band reaches above the top edge.
    float highest = 0;
    for (size_t i = 20 * 5001; i < lines.size(); ++i)
        highest = std::max(highest, lines[i].y2);
    QVERIFY(std::fabs(highest - 5.008128) < 1e-6);
}

} // namespace

class Waveprint : public QObject {
    Q_OBJECT
private slots:
    void windowAfterLoad()
    {
        LoadedWaveprint f;
        f->Me.Show();
        QCOMPARE(f->Me.Caption(), "Fourierzerlegung-Rechteck     Ausdruck" + std::string(57, ' ') + "Harmonische 1 bis 41");
        QWidget* window = f->Me.widget();
        QCOMPARE(window->frameGeometry().topLeft(), QGuiApplication::primaryScreen()->geometry().topLeft());
        QVERIFY(std::fabs(f->Me.Width() - (plot::Screen.Width() - 10)) <= 15);
        QVERIFY(std::fabs(f->Picture1.Left() - 100) <= plot::TwipsPerPixel()); // to the pixel
        QVERIFY(std::fabs(f->Picture1.Width() - f->Me.Width() * 0.98) <= 15);
        QCOMPARE(f->Picture1.ScaleWidth(), 25.0f);
        QCOMPARE(f->Picture1.ScaleHeight(), -5.0f);
        QCOMPARE(f->Picture1.ScaleTop(), 5.0f);
        QCOMPARE(f->Picture1.ScaleLeft(), 0.0f);
        QCOMPARE(f->Command1.Caption(), std::string("Berechnung"));
        QCOMPARE(f->Command2.Caption(), std::string("Ausdruck A4 Hochformat"));
        // Nothing is drawn at load: white paper, as on the printed page,
        // not the window's grey.
        const QImage& img = f.image();
        QCOMPARE(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 255, 255));
    }

    void stripPlotOnScreen()
    {
        LoadedWaveprint f;
        f->Picture1.StartRecording();
        f->Command1.widget()->click();
        checkStripPlot(f->Picture1.TakeRecording());
        QCOMPARE(f->Order, Integer(41));
        QCOMPARE(double(f->PlotX), 25.003807067871094);
        QVERIFY(std::fabs(f->BaseY - 4.959347) < 5e-7);
        QVERIFY(f.errors.empty());

        // A second click draws the same lines over the first.
        const QImage once = f.image().copy();
        f->Command1.widget()->click();
        QCOMPARE(f.image(), once);
    }

    void printedPageSetUpAndLines()
    {
        LoadedWaveprint f;
        QTemporaryDir dir;
        plot::testing::PrintToPdf(dir.filePath("page.pdf").toStdString());
        plot::testing::StartPrinterLog();
        f->Command2.widget()->click();
        const auto log = plot::testing::TakePrinterLog();
        QVERIFY(f.errors.empty());
        QCOMPARE(log.size(), size_t(5 + 105021 + 1));
        const std::vector<std::pair<Kind, double>> setUp {
            { Kind::ScaleMode, 1 }, { Kind::ScaleHeight, 5.5 }, { Kind::ScaleWidth, 25 }, { Kind::ScaleTop, -0.5 },
            { Kind::ScaleLeft, 0 } };
        for (size_t i = 0; i < setUp.size(); ++i) {
            QCOMPARE(int(log[i].kind), int(setUp[i].first));
            QCOMPARE(log[i].value, setUp[i].second);
        }
        std::vector<plot::RecordedLine> lines;
        for (size_t i = 5; i < log.size() - 1; ++i) {
            QCOMPARE(int(log[i].kind), int(Kind::Line));
            lines.push_back(log[i].line);
        }
        checkStripPlot(lines);
        QCOMPARE(int(log.back().kind), int(Kind::EndDoc));
        QCOMPARE(f->Order, Integer(41));
        QCOMPARE(double(f->PlotX), 25.003807067871094);
    }

    void printedPageAsAPdf()
    {
        LoadedWaveprint f;
        QTemporaryDir dir;
        const QString path = dir.filePath("page.pdf");
        plot::testing::PrintToPdf(path.toStdString());
        f->Command2.widget()->click();
        QVERIFY(f.errors.empty());
        const PdfPage page = readPdf(path);
        QCOMPARE(page.pages, 1);
        // A4 portrait: 210 x 297 mm.
        QVERIFY(std::fabs(page.width - 595.28) < 0.5 && std::fabs(page.height - 841.89) < 0.5);
        QCOMPARE(page.segments.size(), size_t(105021));

        // The drawing fills the printable area, which is nearly all of the
        // page: the PDF surface has no margins to keep.
        const double areaWidth = page.clipRight - page.clipLeft;
        const double areaHeight = page.clipTop - page.clipBottom;
        QVERIFY(areaWidth > page.width - 2 && areaHeight > page.height - 2);
        auto pageX = [&](double x) { return page.clipLeft + x / 25 * areaWidth; };
        auto pageY = [&](double y) { return page.clipTop - (y + 0.5) / 5.5 * areaHeight; }; // y grows downward

        // The first column: order 1 from its base line, half a unit (1/11 of
        // the height) below the top edge, down to Sin(0) + 1 = 1.
        const PdfSegment& first = page.segments.front();
        QVERIFY(std::fabs(first.x1 - pageX(0)) < 0.01 && std::fabs(first.x2 - pageX(0)) < 0.01);
        QVERIFY(std::fabs(first.y1 - pageY(0)) < 0.01);
        QVERIFY(std::fabs(first.y2 - pageY(1)) < 0.01);
        // Every order-1 line hangs down from that base line, at most to y = 2.
        for (size_t i = 0; i < 5001; ++i) {
            QVERIFY(std::fabs(page.segments[i].y1 - pageY(0)) < 0.01);
            QVERIFY(page.segments[i].y2 <= page.segments[i].y1 + 1e-6);
            QVERIFY(page.segments[i].y2 >= pageY(2) - 0.01);
        }
        // The last column of the last strip: just short of the right edge,
        // its band running past the bottom edge.
        const PdfSegment& last = page.segments.back();
        QVERIFY(std::fabs(last.x1 - pageX(24.998808)) < 0.01);
        QVERIFY(std::fabs(last.y1 - pageY(4.959347)) < 0.01);
        QVERIFY(last.y2 < page.clipBottom);
    }

    void twoClicksPrintTwoIdenticalDocumentsAndLeaveTheScreen()
    {
        LoadedWaveprint f;
        f->Command1.widget()->click();
        const QImage screen = f.image().copy();
        QTemporaryDir dir;
        plot::testing::PrintToPdf(dir.filePath("one.pdf").toStdString());
        f->Command2.widget()->click();
        plot::testing::PrintToPdf(dir.filePath("two.pdf").toStdString());
        f->Command2.widget()->click();
        QVERIFY(f.errors.empty());
        const PdfPage one = readPdf(dir.filePath("one.pdf"));
        const PdfPage two = readPdf(dir.filePath("two.pdf"));
        QVERIFY(one.content.size() > 100000);
        QVERIFY(one.content == two.content);
        QCOMPARE(two.pages, 1);
        QCOMPARE(f.image(), screen);
    }

    void randomClickSequences()
    {
        // Seeded sequences of both buttons: every printout is the same one
        // page, and the screen shows the strips exactly when "Berechnung"
        // was among the clicks.
        QTemporaryDir dir;
        QByteArray reference;
        QImage blank, plotted;
        int prints = 0;
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            std::mt19937 rng(seed);
            LoadedWaveprint f;
            if (blank.isNull())
                blank = f.image().copy();
            bool drawn = false;
            for (int n = 1 + int(rng() % 4); n > 0; --n) {
                if (rng() % 2) {
                    f->Command1.widget()->click();
                    drawn = true;
                    if (plotted.isNull())
                        plotted = f.image().copy();
                    continue;
                }
                const QString path = dir.filePath(QString("print-%1.pdf").arg(++prints));
                plot::testing::PrintToPdf(path.toStdString());
                f->Command2.widget()->click();
                const PdfPage page = readPdf(path);
                QCOMPARE(page.pages, 1);
                if (reference.isEmpty())
                    reference = page.content;
                QVERIFY2(page.content == reference, qPrintable(QString("seed %1").arg(seed)));
            }
            QVERIFY2(f.errors.empty(), qPrintable(QString("seed %1").arg(seed)));
            if (drawn)
                QVERIFY2(f.image() == plotted, qPrintable(QString("seed %1").arg(seed)));
            else
                QVERIFY2(f.image() == blank, qPrintable(QString("seed %1").arg(seed)));
        }
        QVERIFY(prints > 0 && !plotted.isNull());
    }

    void printingWithoutAPrinterIsAnError()
    {
        // CTest points this test at a CUPS server that does not exist.
        QVERIFY(qEnvironmentVariableIsSet("CUPS_SERVER"));
        LoadedWaveprint f;
        QTemporaryDir home;
        f->Command2.widget()->click();
        QCOMPARE(f.errors.size(), size_t(1));
        QVERIFY2(f.errors[0].rfind("Laufzeitfehler '484': Kein Drucker verfügbar", 0) == 0, f.errors[0].c_str());
        QVERIFY(plot::testing::ProgramEnded());
        QVERIFY(plot::testing::ExitCode() != 0);
    }
};

QTEST_MAIN(Waveprint)
#include "test_waveprint.moc"

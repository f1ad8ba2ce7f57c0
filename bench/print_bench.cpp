// The print handler of waveprint (105,021 separate Line calls to the
// printer, page set-up and EndDoc, into a PDF) against the same segments
// drawn by one painter straight into a QPdfWriter of the same page, in the
// same run. Prints both times, both file sizes and their ratios (targets:
// at most 1.5 each).
//
// run: QT_QPA_PLATFORM=offscreen build/bin/bench_print [repeats]
#include <QApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "form1.h"
#include "plot/testing.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString handlerPdf = dir.filePath("handler.pdf");
    const QString writerPdf = dir.filePath("writer.pdf");

    Form1 form;
    form.Me.Load();
    plot::testing::PrintToPdf(handlerPdf.toStdString());

    // The segments, in page units, from one logged printout.
    plot::testing::StartPrinterLog();
    form.Command2_Click();
    std::vector<QLineF> segments;
    for (const auto& call : plot::testing::TakePrinterLog())
        if (call.kind == plot::PrinterCall::Kind::Line)
            segments.emplace_back(call.line.x1, call.line.y1 + 0.5, call.line.x2, call.line.y2 + 0.5);

    double handler = 1e9, writer = 1e9;
    for (int r = 0; r < repeats; ++r) {
        auto start = Clock::now();
        form.Command2_Click();
        handler = std::min(handler, millisecondsSince(start));

        start = Clock::now();
        QPdfWriter pdf(writerPdf);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&pdf);
        QPen pen(Qt::black, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        const QRectF area(QPointF(0, 0), pdf.pageLayout().paintRectPixels(pdf.resolution()).size());
        painter.setClipRect(area);
        painter.scale(area.width() / 25, area.height() / 5.5);
        for (const QLineF& s : segments)
            painter.drawLine(s);
        painter.end();
        writer = std::min(writer, millisecondsSince(start));
    }
    const double handlerSize = double(QFileInfo(handlerPdf).size());
    const double writerSize = double(QFileInfo(writerPdf).size());
    std::printf("%zu segments\n", segments.size());
    std::printf("print handler: %.1f ms, %.0f bytes (best of %d)\n", handler, handlerSize, repeats);
    std::printf("one painter:   %.1f ms, %.0f bytes\n", writer, writerSize);
    std::printf("time ratio:    %.2f (target at most 1.5)\n", handler / writer);
    std::printf("size ratio:    %.2f (target at most 1.5)\n", handlerSize / writerSize);
    return 0;
}

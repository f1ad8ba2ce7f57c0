#include "plot/printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>
#include <memory>
#include <optional>
#include <string>

#include "plot/numeric.h"
#include "plot/pixel_mapping.h"
#include "plot/runtime_error.h"
#include "plot/testing.h"
#include "runtime.h"

namespace plot {

namespace {

// The document being built, from its first Line to EndDoc.
struct PrintJob {
    std::unique_ptr<QPrinter> printer;
    QPainter painter;
    bool native = false;   // goes to a CUPS queue, not into a file
    double areaWidth = 0;  // printable area, device pixels
    double areaHeight = 0;
    double dotsPerInch = 0;
};

struct PrinterState {
    std::string pdfPath; // tests: write documents here instead
    std::unique_ptr<std::vector<PrinterCall>> log;
    std::unique_ptr<PrintJob> job;
    std::optional<UserScale> scale; // unset until a ScaleMode or first use
};

PrinterState& state()
{
    static PrinterState s;
    return s;
}

void logCall(PrinterCall::Kind kind, double value, RecordedLine line = {})
{
    if (auto& log = state().log) [[unlikely]]
        log->push_back({ kind, value, line });
}

// Qt quietly writes a PDF file when it finds no printer; that would look
// like a printout that never happened. So the default printer is looked up
// first, and only a native print job on it is accepted.
std::unique_ptr<QPrinter> openDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        Raise(ErrorCode::NoPrinter, "Es ist kein Standarddrucker eingerichtet");
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->outputFormat() != QPrinter::NativeFormat
        || !printer->outputFileName().isEmpty())
        Raise(ErrorCode::NoPrinter, "Der Drucker '" + info.printerName().toStdString() + "' ist nicht verwendbar");
    return printer;
}

PrintJob& currentJob()
{
    PrinterState& s = state();
    if (s.job)
        return *s.job;
    auto job = std::make_unique<PrintJob>();
    if (s.pdfPath.empty()) {
        job->printer = openDefaultPrinter();
        job->native = true;
    } else {
        job->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        job->printer->setOutputFormat(QPrinter::PdfFormat);
        job->printer->setOutputFileName(QString::fromStdString(s.pdfPath));
    }
    QPrinter& p = *job->printer;
    p.setDocName(QStringLiteral("Fourierzerlegung-Rechteck"));
    p.setFullPage(false);
    // The button promises A4 portrait, whatever the printer's default is.
    if (!p.setPageSize(QPageSize(QPageSize::A4)) || !p.setPageOrientation(QPageLayout::Portrait))
        Raise(ErrorCode::PrinterError, "Der Drucker kann nicht auf A4 hochformat drucken");
    p.setPageMargins(p.pageLayout().minimumMargins(), p.pageLayout().units());
    const QRectF area = p.pageRect(QPrinter::DevicePixel);
    job->areaWidth = area.width();
    job->areaHeight = area.height();
    job->dotsPerInch = p.resolution();
    if (job->areaWidth <= 0 || job->areaHeight <= 0 || job->dotsPerInch <= 0)
        Raise(ErrorCode::PrinterError, "Der Drucker meldet keinen bedruckbaren Bereich");
    s.job = std::move(job);
    return *s.job;
}

UserScale twipsScale(const PrintJob& job)
{
    const double twipsPerDot = 1440.0 / job.dotsPerInch;
    return { 0, 0, job.areaWidth * twipsPerDot, job.areaHeight * twipsPerDot };
}

UserScale& currentScale()
{
    PrinterState& s = state();
    if (!s.scale)
        s.scale = twipsScale(currentJob());
    return *s.scale;
}

void beginDocument(PrintJob& job)
{
    if (!job.painter.begin(job.printer.get()))
        Raise(ErrorCode::PrinterError, "Der Druckauftrag konnte nicht begonnen werden");
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setCosmetic(true); // one device pixel, whatever the resolution
    job.painter.setPen(pen);
    job.painter.setClipRect(QRectF(0, 0, job.areaWidth, job.areaHeight));
}

// Whether CUPS took the job that Qt has just handed it; Qt itself does not
// say.
void checkCupsAccepted()
{
    const ipp_status_t status = cupsLastError();
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE)
        Raise(ErrorCode::PrinterError, "Der Drucker hat den Auftrag nicht angenommen");
}

} // namespace

void PrinterSurface::ScaleMode(Integer mode)
{
    logCall(PrinterCall::Kind::ScaleMode, mode);
    if (mode != 1)
        Raise(ErrorCode::InvalidPropertyValue);
    state().scale = twipsScale(currentJob());
}

void PrinterSurface::ScaleLeft(Single v)
{
    logCall(PrinterCall::Kind::ScaleLeft, v);
    currentScale().left = Checked(double(v));
}

void PrinterSurface::ScaleTop(Single v)
{
    logCall(PrinterCall::Kind::ScaleTop, v);
    currentScale().top = Checked(double(v));
}

void PrinterSurface::ScaleWidth(Single v)
{
    logCall(PrinterCall::Kind::ScaleWidth, v);
    if (v == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    currentScale().width = Checked(double(v));
}

void PrinterSurface::ScaleHeight(Single v)
{
    logCall(PrinterCall::Kind::ScaleHeight, v);
    if (v == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    currentScale().height = Checked(double(v));
}

void PrinterSurface::Line(Single x1, Single y1, Single x2, Single y2)
{
    logCall(PrinterCall::Kind::Line, 0, { x1, y1, x2, y2, false, 0 });
    PrintJob& job = currentJob();
    const UserScale& scale = currentScale();
    if (!job.painter.isActive())
        beginDocument(job);
    const double fx = job.areaWidth / scale.width;
    const double fy = job.areaHeight / scale.height;
    const QLineF line((x1 - scale.left) * fx, (y1 - scale.top) * fy, (x2 - scale.left) * fx, (y2 - scale.top) * fy);
    // A line of no length still marks its point, as on the screen.
    if (line.p1() == line.p2())
        job.painter.drawPoint(line.p1());
    else
        job.painter.drawLine(line);
}

void PrinterSurface::EndDoc()
{
    logCall(PrinterCall::Kind::EndDoc, 0);
    PrinterState& s = state();
    std::unique_ptr<PrintJob> job = std::move(s.job);
    s.scale.reset();
    if (!job || !job->painter.isActive())
        return;
    if (!job->painter.end() || job->printer->printerState() == QPrinter::Error)
        Raise(ErrorCode::PrinterError, "Der Druckauftrag konnte nicht abgeschlossen werden");
    if (job->native)
        checkCupsAccepted();
}

PrinterSurface& Printer()
{
    static PrinterSurface printer;
    return printer;
}

namespace detail {

void AbandonPrintJob()
{
    PrinterState& s = state();
    s.scale.reset();
    if (!s.job)
        return;
    // Ending the painter would hand the document to the printer, and Qt's
    // print engines cannot abort a job. The program is ending, so the job
    // is let go of without being ended: nothing half drawn is printed.
    (void)s.job.release();
}

} // namespace detail

namespace testing {

void PrintToPdf(const std::string& path)
{
    state().pdfPath = path;
}

void StartPrinterLog()
{
    state().log = std::make_unique<std::vector<PrinterCall>>();
}

std::vector<PrinterCall> TakePrinterLog()
{
    auto log = std::move(state().log);
    return log ? std::move(*log) : std::vector<PrinterCall> {};
}

} // namespace testing

} // namespace plot

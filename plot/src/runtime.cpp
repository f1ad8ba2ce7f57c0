#include "runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

#include "picture_widget.h"
#include "printer_job.h"
#include "termination.h"
#include "vector_state.h"

namespace plot::detail {

Runtime& runtime()
{
    static Runtime instance = [] { Runtime r; r.reporter = DefaultReporter; return r; }();
    return instance;
}

void DefaultReporter(const RuntimeError& error)
{
    const QString title = QApplication::applicationDisplayName();
    const QString text = QStringLiteral("Laufzeitfehler '%1':\n\n%2")
                             .arg(error.number())
                             .arg(QString::fromStdString(error.description()));
    // Also into the log, for whoever started the program from a terminal.
    std::fprintf(stderr, "%s\n", error.message().c_str());
    QMessageBox::critical(nullptr, title, text);
}

void BeginEnd(int exitCode)
{
    Runtime& rt = runtime();
    if (rt.ending)
        return;
    rt.ending = true;
    rt.exitCode = exitCode;
    AbandonPrintJob();
    // Nothing more may be seen of the program from here on.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
}

void RunHandler(const std::function<void()>& handler)
{
    Runtime& rt = runtime();
    if (rt.ending || !handler)
        return;
    ++rt.handlerDepth;
    try {
        handler();
    } catch (const RuntimeError& error) {
        if (rt.reporter)
            rt.reporter(error);
        BeginEnd(1);
    } catch (const ProgramEnd&) {
        // The program is ending; this handler is over.
    } catch (const std::bad_alloc&) {
        const RuntimeError error(ErrorCode::OutOfMemory);
        if (rt.reporter)
            rt.reporter(error);
        BeginEnd(1);
    } catch (const std::exception& e) {
        const RuntimeError error(ErrorCode::Internal, e.what());
        if (rt.reporter)
            rt.reporter(error);
        BeginEnd(1);
    }
    --rt.handlerDepth;
    ClearUpperVectorState();
    if (rt.ending) {
        if (rt.handlerDepth == 0)
            QCoreApplication::exit(rt.exitCode);
        return;
    }
    PresentPictures(false);
}

void PresentPictures(bool now)
{
    Runtime& rt = runtime();
    for (PictureWidget* p : rt.pictures)
        p->present(now);
    rt.lastPresent = std::chrono::steady_clock::now();
}

} // namespace plot::detail

namespace plot::testing {

void SetPumpHook(PumpHook hook)
{
    detail::runtime().pumpHook = std::move(hook);
}

std::uint64_t PumpCount()
{
    return detail::runtime().pumpCount;
}

bool ProgramEnded()
{
    return detail::runtime().ending;
}

int ExitCode()
{
    return detail::runtime().exitCode;
}

void ResetRuntime()
{
    detail::Runtime& rt = detail::runtime();
    rt.reporter = detail::DefaultReporter;
    rt.ending = false;
    rt.exitCode = 0;
    rt.handlerDepth = 0;
    rt.pumpCount = 0;
    rt.pumpHook = nullptr;
    detail::ForgetTerminationRequests();
}

} // namespace plot::testing

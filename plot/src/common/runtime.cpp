#include "runtime.h"

#include <new>

#include "plot/events.h"
#include "vector_state.h"

namespace plot::detail {

Runtime& runtime()
{
    static Runtime instance = [] { Runtime r; r.reporter = DefaultReporter; return r; }();
    return instance;
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
    HideWindows();
}

namespace {
void report(const RuntimeError& error)
{
    if (runtime().reporter)
        runtime().reporter(error);
    BeginEnd(1);
}
} // namespace

void RunHandler(const std::function<void()>& handler)
{
    Runtime& rt = runtime();
    if (rt.ending || !handler)
        return;
    ++rt.handlerDepth;
    try {
        handler();
    } catch (const RuntimeError& error) {
        report(error);
    } catch (const ProgramEnd&) {
        // The program is ending; this handler is over.
    } catch (const std::bad_alloc&) {
        report(RuntimeError(ErrorCode::OutOfMemory));
    } catch (const std::exception& e) {
        report(RuntimeError(ErrorCode::Internal, e.what()));
    }
    --rt.handlerDepth;
    ClearUpperVectorState();
    if (rt.ending) {
        if (rt.handlerDepth == 0)
            LeaveEventLoop(rt.exitCode);
        return;
    }
    PresentPictures(false);
}

void CountPump()
{
    Runtime& rt = runtime();
    ++rt.pumpCount;
    if (rt.pumpHook)
        rt.pumpHook(rt.pumpCount);
}

void LeavePump()
{
    ClearUpperVectorState();
    if (runtime().ending)
        throw ProgramEnd {};
}

} // namespace plot::detail

namespace plot {

void End()
{
    detail::BeginEnd(0);
    throw detail::ProgramEnd {};
}

} // namespace plot

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

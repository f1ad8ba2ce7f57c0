#pragma once
// Program-wide state of the plot layer: who reports errors, whether the
// program is ending, and the event pump's bookkeeping. Toolkit-free; what
// only a toolkit can do is declared at the end and defined by each backend.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "plot/runtime_error.h"
#include "plot/testing.h"

namespace plot {
class PictureWidget;
}

namespace plot::detail {

// Thrown to unwind a handler whose program has ended; caught where the
// toolkit called the handler, never passed into the toolkit.
struct ProgramEnd {};

struct Runtime {
    ErrorReporter reporter;
    bool ending = false;
    int exitCode = 0;
    int handlerDepth = 0;
    std::uint64_t pumpCount = 0;
    testing::PumpHook pumpHook;
    std::chrono::steady_clock::time_point lastPoll {};
    std::chrono::steady_clock::time_point lastPresent {};
    std::vector<PictureWidget*> pictures;
    double twipsPerPixel = 15.0;
};

Runtime& runtime();

// Run one handler the toolkit calls: errors are reported, the end of the
// program is carried out once the outermost handler is left.
void RunHandler(const std::function<void()>& handler);

// Begin ending the program with this exit status.
void BeginEnd(int exitCode);

// The bookkeeping at the start of every event pump: its number, the
// tests' hook.
void CountPump();
// At the end of a pump: a handler that ran inside it may have ended the
// program; then nothing of the caller runs on.
void LeavePump();

// Provided by the toolkit's backend.

// Show what has been drawn; "now" paints at once, otherwise on the next
// pass of the event loop.
void PresentPictures(bool now);
// Takes every window off the screen.
void HideWindows();
// Leaves the toolkit's event loop, once the outermost handler is left.
void LeaveEventLoop(int exitCode);
// Drops a print document that an error cut short, without printing it.
void AbandonPrintJob();
// Back to no termination request received (a fresh program, for tests).
void ForgetTerminationRequests();
// Shows the user a run-time error.
void DefaultReporter(const RuntimeError& error);

} // namespace plot::detail

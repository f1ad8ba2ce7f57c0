#pragma once
// The event pump and the end of the program.

namespace plot {

enum class PumpMode {
    Return,     // run what is pending, then return at once
    UntilEvent, // block until at least one event has been handled
};

// Runs the pending events, clicks included; the handlers they start run
// nested inside this call. When one of them ended the program, nothing of
// the caller runs on: the call does not return normally.
void DoEvents(PumpMode mode = PumpMode::Return);

// Ends the program at once, also from a handler nested in DoEvents: no
// suspended handler resumes. Does not return.
[[noreturn]] void End();

} // namespace plot

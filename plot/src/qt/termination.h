#pragma once
// Ending the program on a termination request from outside (SIGTERM,
// SIGINT, SIGHUP): carried out on the user-interface thread at its next
// event pump, just as the close box is, so no handler resumes and no print
// job is left half written.

namespace plot::detail {

// Installs the signal handlers, once per process (signals ignored at start
// stay ignored); the exit status is 128 plus the signal's number, as a
// shell reports a program ended by that signal. A second signal before the
// program has ended takes the signal's default action.
void EndOnTerminationSignals();

} // namespace plot::detail

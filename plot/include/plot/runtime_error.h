#pragma once
// The run-time error: a numbered fault that stops the running handler,
// is reported to the user and ends the program.
#include <functional>
#include <stdexcept>
#include <string>

namespace plot {

enum class ErrorCode : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    Internal = 51,
    InvalidPropertyValue = 380,
    PrinterError = 482,
    NoPrinter = 484,
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorCode code, std::string detail = {});
    ErrorCode code() const { return code_; }
    int number() const { return static_cast<int>(code_); }
    // The German description of the error, e.g. "Überlauf".
    const std::string& description() const { return description_; }
    // The full message as the user sees it:
    // "Laufzeitfehler '6': Überlauf".
    std::string message() const;

private:
    ErrorCode code_;
    std::string description_;
};

// The standard German description of an error number.
std::string ErrorDescription(ErrorCode code);

// Without a detail the call builds nothing that needs cleaning up, so the
// checks inlined into the hot loops stay free of exception landing pads.
[[noreturn]] void Raise(ErrorCode code);
[[noreturn]] void Raise(ErrorCode code, std::string detail);

// Who tells the user about a run-time error. The default shows a message
// box; tests put their own in to see the error without a dialog.
using ErrorReporter = std::function<void(const RuntimeError&)>;
void SetErrorReporter(ErrorReporter reporter);

} // namespace plot

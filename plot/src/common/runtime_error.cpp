#include "plot/runtime_error.h"

#include "runtime.h"

namespace plot {

std::string ErrorDescription(ErrorCode code)
{
    switch (code) {
    case ErrorCode::InvalidCall: return "Unzulässiger Prozeduraufruf oder ungültiges Argument";
    case ErrorCode::Overflow: return "Überlauf";
    case ErrorCode::OutOfMemory: return "Nicht genügend Speicher";
    case ErrorCode::SubscriptOutOfRange: return "Index außerhalb des gültigen Bereichs";
    case ErrorCode::DivisionByZero: return "Division durch Null";
    case ErrorCode::Internal: return "Interner Fehler";
    case ErrorCode::InvalidPropertyValue: return "Unzulässiger Eigenschaftswert";
    case ErrorCode::PrinterError: return "Druckerfehler";
    case ErrorCode::NoPrinter: return "Kein Drucker verfügbar";
    }
    return "Anwendungs- oder objektdefinierter Fehler";
}

RuntimeError::RuntimeError(ErrorCode code, std::string detail)
    : std::runtime_error(ErrorDescription(code))
    , code_(code)
    , description_(detail.empty() ? ErrorDescription(code) : ErrorDescription(code) + ": " + detail)
{
}

std::string RuntimeError::message() const
{
    return "Laufzeitfehler '" + std::to_string(number()) + "': " + description_;
}

void Raise(ErrorCode code)
{
    throw RuntimeError(code);
}

void Raise(ErrorCode code, std::string detail)
{
    throw RuntimeError(code, std::move(detail));
}

void SetErrorReporter(ErrorReporter reporter)
{
    detail::runtime().reporter = std::move(reporter);
}

} // namespace plot

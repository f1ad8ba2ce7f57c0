#pragma once
// Hooks for tests: they are inert unless a test sets them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plot/printer.h"

namespace plot::testing {

// Called at the start of every event pump with the pump's number (from 1).
using PumpHook = std::function<void(std::uint64_t pump)>;
void SetPumpHook(PumpHook hook);
std::uint64_t PumpCount();

// Whether End or a run-time error has ended the program, and its exit code.
bool ProgramEnded();
int ExitCode();

// Print jobs are written into this PDF file instead of going to the
// default printer; an empty path sends them to the printer again.
void PrintToPdf(const std::string& path);

// Keep every call made on the printer, in order.
void StartPrinterLog();
std::vector<PrinterCall> TakePrinterLog();

// How often the tone's output ran dry: the audio side was asked for
// samples later than its buffer lasted (desktop).
std::uint64_t ToneUnderruns();

// Sin takes the sines of the whole numbers 1 to 10000, those of the
// program's Delay loop, from a table made by the same function: the same
// bits and the same count, without the time. For the tests that run
// complete runs in the process (millions of Delay sines each); the
// programs never set it, their Delay paces them.
void UseSineTable(bool on);

// Back to a fresh program: not ended, pump count 0, no hook, default
// error reporter.
void ResetRuntime();

} // namespace plot::testing

// The browser side of the program-wide runtime.
#include "runtime.h"

#include <cstdio>

#include "events_web.h"
#include "page.h"
#include "widgets.h"

namespace plot::detail {

namespace {
std::string programName;
}

void SetProgramName(const std::string& name)
{
    programName = name;
}

void DefaultReporter(const RuntimeError& error)
{
    // Also into the browser's console.
    std::fprintf(stderr, "%s\n", error.message().c_str());
    const std::string text
        = "Laufzeitfehler '" + std::to_string(error.number()) + "':\n\n" + error.description();
    plot_page_error_dialog(programName.c_str(), text.c_str());
}

// A page cannot close its own tab: the form goes and the page says that
// the program has ended.
void HideWindows()
{
    plot_page_program_ended(runtime().exitCode);
}

void LeaveEventLoop(int)
{
    // The program's loop sees the end itself.
}

void ForgetTerminationRequests() { }

void PresentPictures(bool)
{
    Runtime& rt = runtime();
    for (PictureWidget* p : rt.pictures)
        p->present();
}

} // namespace plot::detail

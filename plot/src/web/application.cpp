#include "plot/application.h"

#include "events_web.h"
#include "page.h"
#include "plot/window.h"
#include "runtime.h"

namespace plot {

struct Application::Toolkit {};

Application::Application(int&, char**, const std::string& name, const std::string&)
    : toolkit_(std::make_unique<Toolkit>())
{
    plot_page_link();
    detail::SetProgramName(name);
}

Application::~Application() = default;

// The program's loop: sleeps until a click comes in and runs its handler.
// Every handler runs from here, nested ones inside DoEvents, so the
// program's stack stays as it is on the desktop.
int Application::Run(Window& window)
{
    detail::Runtime& rt = detail::runtime();
    window.Load();
    if (!rt.ending)
        window.Show();
    while (!rt.ending) {
        detail::FollowPageLayout();
        detail::PresentPictures(true);
        plot_page_busy(false);
        detail::WaitForClicks();
        plot_page_busy(true);
        detail::RunQueuedClicks();
    }
    return rt.exitCode;
}

// Every text of the page is the program's own, in German.
bool UseGermanToolkitTexts()
{
    return true;
}

void LessonCompleted()
{
    plot_page_lesson_completed();
}

} // namespace plot

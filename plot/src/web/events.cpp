#include "plot/events.h"

#include <emscripten.h>

#include "events_web.h"
#include "page.h"
#include "runtime.h"
#include "widgets.h"

namespace plot {

namespace {

// A running handler works until shortly before the display's next frame
// is due, as the page reckons it, then gives the browser control for the
// frame: drawing shows and clicks come in at each frame.
double workUntil = 0;

// Reading the clock is a call out to the page and costs more than a fast
// pump itself, so it is read only every so many pumps: as many as keep
// the reads between a twentieth and half a millisecond apart, which is
// how late a slice may end. After every sleep the count starts again from
// one, since the next run may begin with slow pumps where the last one
// ended with fast ones.
unsigned pumpsPerClockRead = 1;
unsigned pumpsSinceClockRead = 0;
double lastClockRead = 0;

void awake()
{
    lastClockRead = emscripten_get_now();
    workUntil = plot_page_work_until();
    pumpsPerClockRead = 1;
    pumpsSinceClockRead = 0;
}

bool timeToYield()
{
    if (++pumpsSinceClockRead < pumpsPerClockRead)
        return false;
    pumpsSinceClockRead = 0;
    const double now = emscripten_get_now();
    const double sinceLastRead = now - lastClockRead;
    lastClockRead = now;
    if (sinceLastRead < 0.05 && pumpsPerClockRead < 4096)
        pumpsPerClockRead *= 2;
    else if (sinceLastRead > 0.5 && pumpsPerClockRead > 1)
        pumpsPerClockRead /= 2;
    return now >= workUntil;
}

} // namespace

namespace detail {

void RunQueuedClicks()
{
    for (int id; !runtime().ending && (id = plot_page_next_click()) != -1;) {
        if (id == toneLostClick || id == toneMissingClick) {
            ToneLost(id == toneMissingClick);
            continue;
        }
        // A button disabled since the click was queued gives no click.
        ButtonWidget* button = FindButton(id);
        if (button && button->enabled)
            RunHandler(button->onClick);
    }
}

void FollowPageLayout()
{
    static int followed = 0;
    const int serial = plot_page_layout_serial();
    if (serial == followed)
        return;
    followed = serial;
    for (PictureWidget* p : runtime().pictures)
        p->follow();
    PresentPictures(true);
}

// Compacts the pictures' lines in steps until the next frame is due, and
// whether there is more to do.
bool TidyUntilNextFrame()
{
    const double until = plot_page_work_until();
    for (PictureWidget* p : runtime().pictures)
        while (p->core.tidy(16384))
            if (emscripten_get_now() >= until)
                return true;
    return false;
}

void WaitForClicks()
{
    while (!plot_page_clicks_waiting() && TidyUntilNextFrame()) {
        plot_page_yield();
        FollowPageLayout();
    }
    while (!plot_page_clicks_waiting()) {
        plot_page_wait_for_input();
        FollowPageLayout();
    }
    awake();
}

void WaitForInput()
{
    FollowPageLayout();
    PresentPictures(true);
    WaitForClicks();
    RunQueuedClicks();
}

} // namespace detail

void DoEvents(PumpMode mode)
{
    detail::CountPump();
    if (mode == PumpMode::UntilEvent) {
        detail::WaitForInput();
    } else if (timeToYield()) {
        detail::PresentPictures(true);
        plot_page_yield();
        awake();
        detail::FollowPageLayout();
        detail::RunQueuedClicks();
    }
    detail::LeavePump();
}

} // namespace plot

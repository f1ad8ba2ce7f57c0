#include "plot/events.h"

#include <emscripten.h>

#include "events_web.h"
#include "page.h"
#include "runtime.h"
#include "widgets.h"

namespace plot {

namespace {

// A running handler gives the browser control at display rate, not at
// each of the half million pumps of a run: drawing shows and clicks come
// in at the next frame either way.
constexpr double yieldIntervalMs = 15;
double lastYield = 0;

// Reading the clock is a call out to the page and costs more than a fast
// pump itself, so it is read only every so many pumps: as many as keep
// the reads between a tenth of a millisecond and one millisecond apart.
// After every sleep the count starts again from one, since the next run
// may begin with slow pumps where the last one ended with fast ones.
unsigned pumpsPerClockRead = 1;
unsigned pumpsSinceClockRead = 0;
double lastClockRead = 0;

void awake()
{
    lastYield = lastClockRead = emscripten_get_now();
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
    if (sinceLastRead < 0.1 && pumpsPerClockRead < 1024)
        pumpsPerClockRead *= 2;
    else if (sinceLastRead > 1.0 && pumpsPerClockRead > 1)
        pumpsPerClockRead /= 2;
    return now - lastYield >= yieldIntervalMs;
}

} // namespace

namespace detail {

void RunQueuedClicks()
{
    for (int id; !runtime().ending && ((id = plot_page_next_click()) >= 0 || id == toneLostClick);) {
        if (id == toneLostClick) {
            ToneLost();
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

void WaitForClicks()
{
    if (!plot_page_clicks_waiting())
        for (PictureWidget* p : runtime().pictures)
            p->core.tidy();
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

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
} // namespace

namespace detail {

void RunQueuedClicks()
{
    for (int id; !runtime().ending && (id = plot_page_next_click()) >= 0;) {
        // A button disabled since the click was queued gives no click.
        ButtonWidget* button = FindButton(id);
        if (button && button->enabled)
            RunHandler(button->onClick);
    }
}

void WaitForInput()
{
    PresentPictures(true);
    plot_page_wait_for_input();
    lastYield = emscripten_get_now();
    RunQueuedClicks();
}

} // namespace detail

void DoEvents(PumpMode mode)
{
    detail::CountPump();
    if (mode == PumpMode::UntilEvent) {
        detail::WaitForInput();
    } else if (const double now = emscripten_get_now(); now - lastYield >= yieldIntervalMs) {
        detail::PresentPictures(true);
        plot_page_yield();
        lastYield = emscripten_get_now();
        detail::RunQueuedClicks();
    }
    detail::LeavePump();
}

} // namespace plot

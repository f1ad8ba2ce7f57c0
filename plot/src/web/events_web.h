#pragma once

namespace plot::detail {

// Runs the clicks the page has queued, each in its handler, in order.
void RunQueuedClicks();
// Shows what has been drawn, sleeps until the page has input, runs it.
void WaitForInput();

} // namespace plot::detail

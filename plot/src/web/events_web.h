#pragma once

#include <string>

namespace plot::detail {

// The program's name, the title of its error dialog.
void SetProgramName(const std::string& name);

// Runs the clicks the page has queued, each in its handler, in order.
void RunQueuedClicks();
// Draws the pictures again where the page has laid them out anew.
void FollowPageLayout();
// Sleeps until the page has queued a click, following its layout
// meanwhile; the pictures' lines are compacted first, in steps that leave
// the page its frames.
void WaitForClicks();
// The page's ids for "the tone lost its output" and "the tone's output
// never started" in the click queue, and what they run: the tone's
// handler for it (sound.cpp); an output that never started leaves the
// tone unavailable.
inline constexpr int toneLostClick = -2;
inline constexpr int toneMissingClick = -3;
void ToneLost(bool neverStarted);
// Shows what has been drawn, sleeps until the page has input, runs it.
void WaitForInput();

} // namespace plot::detail

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
// meanwhile; the pictures' lines are compacted first.
void WaitForClicks();
// The page's id for "the tone lost its output" in the click queue, and
// what it runs: the tone's handler for it (sound.cpp).
inline constexpr int toneLostClick = -2;
void ToneLost();
// Shows what has been drawn, sleeps until the page has input, runs it.
void WaitForInput();

} // namespace plot::detail

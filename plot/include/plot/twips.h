#pragma once
// Twips (1/1440 inch) and screen pixels.

namespace plot {

struct ScreenFit {
    double logicalDpi;   // the screen's logical dots per inch
    int availableWidth;  // pixels the window may take, frame included
    int availableHeight;
    int frameWidth;      // pixels the window frame adds around the client area
    int frameHeight;
};

// Twips per pixel: the screen's own (1440 / dpi), or more where a client
// area of designWidth by designHeight twips, with its frame, would not fit
// the available area. Lowering the resolution this way keeps the whole
// designed window reachable on small screens and projectors.
double ChooseTwipsPerPixel(const ScreenFit& screen, double designWidth, double designHeight);

// Twips per pixel in force for the program's window.
double TwipsPerPixel();

} // namespace plot

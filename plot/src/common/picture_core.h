#pragma once
// What a picture is apart from its toolkit: its scale, its pixels and the
// record of its lines. Each backend's picture widget holds one.
#include <memory>
#include <vector>

#include "plot/picture.h"
#include "line_log.h"
#include "raster.h"
#include "telling.h"

namespace plot::detail {

struct PictureCore {
    Integer scaleMode = 1;
    UserScale scale;
    Raster raster;
    std::unique_ptr<std::vector<RecordedLine>> recording;
    // The interior's size in twips, as the backend last laid it out.
    double widthTwips = 0;
    double heightTwips = 0;
    // What assistive technology was last told.
    Telling telling;
    // The lines since the last Cls, where the backend may have to draw the
    // picture again at another size; none kept otherwise.
    std::unique_ptr<LineLog> log;

    // A new interior of width x height device pixels, all paper; a twips
    // scale follows the new size, a user scale stays.
    void resize(int widthPx, int heightPx, double newWidthTwips, double newHeightTwips);
    // Keep the lines from now on, so that redrawAt can draw them again.
    void keepLines();
    // The same interior at another pixel size: the lines since the last
    // Cls drawn again, in their own scales, on fresh paper.
    void redrawAt(int widthPx, int heightPx);
    // Compacts the kept lines if they have grown much, a step of up to so
    // many lines at a time: for when the program waits. Whether there is
    // more to do.
    bool tidy(std::size_t lines)
    {
        return log && (log->compacting() || log->grown()) && log->compactStep(lines);
    }
    void resetScaleToTwips();
    void setScale(const UserScale& s);
    void cls();
    void line(Single x1, Single y1, Single x2, Single y2, bool hasColour, Colour colour);
};

// The core of a backend's picture widget.
PictureCore& CoreOf(PictureWidget* widget);

// Provided by the backend: hands the picture's name, or its new
// description with a polite announcement, to assistive technology.
void PassOnName(PictureWidget* widget, const std::string& name);
void PassOnDescription(PictureWidget* widget, const std::string& description, const std::string& announcement);

} // namespace plot::detail

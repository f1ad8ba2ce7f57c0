#pragma once
// The picture surface: a plot area with a user scale, cleared and drawn on
// with straight lines.
#include <vector>

#include "plot/types.h"

namespace plot {

class PictureWidget;

// A picture is white paper with black ink on every desktop theme: the
// animation erases by drawing white over magenta, which only works on a
// white background, and the printed page is white too. The window around
// it and its buttons follow the desktop's palette.
inline constexpr Colour PaperColour = RGB(255, 255, 255);
inline constexpr Colour InkColour = RGB(0, 0, 0);

// One Line call as the program made it.
struct RecordedLine {
    Single x1, y1, x2, y2;
    bool hasColour;
    Colour colour;
    bool operator==(const RecordedLine&) const = default;
};

class Picture {
public:
    explicit Picture(PictureWidget* widget)
        : w_(widget)
    {
    }

    // Geometry in the window's client area, in twips.
    Single Left() const;
    void Left(Single twips);
    Single Width() const;
    void Width(Single twips);

    // 1: twips, origin at the top left of the interior, y down.
    Integer ScaleMode() const;
    void ScaleMode(Integer mode);
    Single ScaleLeft() const;
    void ScaleLeft(Single v);
    Single ScaleTop() const;
    void ScaleTop(Single v);
    Single ScaleWidth() const;
    void ScaleWidth(Single v);
    Single ScaleHeight() const;
    void ScaleHeight(Single v);

    // Fills the interior with the background colour; the scale stays.
    void Cls();
    // A one-pixel line, end points included, clipped to the interior: in
    // the foreground colour, or in the colour given.
    void Line(Single x1, Single y1, Single x2, Single y2);
    void Line(Single x1, Single y1, Single x2, Single y2, Colour colour);

    Colour BackColor() const;
    Colour ForeColor() const;

    // For tests: keep every Line call, in order.
    void StartRecording();
    std::vector<RecordedLine> TakeRecording();

    PictureWidget* widget() const { return w_; }

private:
    PictureWidget* w_;
};

} // namespace plot

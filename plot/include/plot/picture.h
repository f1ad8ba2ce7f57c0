#pragma once
// The picture surface: a plot area with a user scale, cleared and drawn on
// with straight lines.
#include <string>
#include <vector>

#include "plot/types.h"

namespace plot {

class PictureWidget;

// How a change of what the picture shows is told to assistive technology.
// A change of state always; the progress of a fast run at most once every
// two seconds, since a screen reader handed a message for every step of a
// run falls silent or worse.
enum class Pace { Always, Progress };

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

    // What a screen reader says of the picture: a name, which stays, and a
    // description of what it shows now. Describe replaces the description
    // and politely announces the change; a Progress description that comes
    // too soon after the last one is dropped, announcement and all.
    void AccessibleName(const std::string& name);
    void Describe(const std::string& description, const std::string& announcement, Pace pace = Pace::Always);
    std::string Description() const;

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

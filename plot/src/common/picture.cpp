// The program's view of a picture, in user units, and what drawing does
// to its pixels: the same for every backend.
#include <chrono>

#include "picture_core.h"
#include "redraw.h"
#include "plot/numeric.h"
#include "plot/picture.h"

namespace plot {

namespace detail {

void PictureCore::resize(int widthPx, int heightPx, double newWidthTwips, double newHeightTwips)
{
    widthTwips = newWidthTwips;
    heightTwips = newHeightTwips;
    raster.resize(widthPx, heightPx, PaperColour);
    if (scaleMode == 1)
        resetScaleToTwips();
    else
        raster.setScale(scale);
    if (log)
        log->clear(scale);
}

void PictureCore::keepLines()
{
    log = std::make_unique<LineLog>();
    log->clear(scale);
}

void PictureCore::redrawAt(int widthPx, int heightPx)
{
    raster.resize(widthPx, heightPx, PaperColour);
    if (log)
        Redraw(raster, *log);
    raster.setScale(scale);
}

void PictureCore::resetScaleToTwips()
{
    scaleMode = 1;
    setScale({ 0, 0, widthTwips, heightTwips });
}

void PictureCore::setScale(const UserScale& s)
{
    scale = s;
    raster.setScale(s);
    if (log)
        log->scale(s);
}

void PictureCore::cls()
{
    raster.fill(PaperColour);
    if (log)
        log->clear(scale);
}

void PictureCore::line(Single x1, Single y1, Single x2, Single y2, bool hasColour, Colour colour)
{
    if (recording) [[unlikely]]
        recording->push_back({ x1, y1, x2, y2, hasColour, hasColour ? colour : 0 });
    const Colour drawn = hasColour ? colour : InkColour;
    if (log)
        log->line(x1, y1, x2, y2, drawn);
    raster.line(x1, y1, x2, y2, drawn);
}

double MonotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace detail

using detail::CoreOf;

Integer Picture::ScaleMode() const
{
    return CoreOf(w_).scaleMode;
}

void Picture::ScaleMode(Integer mode)
{
    if (mode != 1 && mode != 0)
        Raise(ErrorCode::InvalidPropertyValue);
    if (mode == 1)
        CoreOf(w_).resetScaleToTwips();
    else
        CoreOf(w_).scaleMode = 0;
}

Single Picture::ScaleLeft() const { return static_cast<Single>(CoreOf(w_).scale.left); }
Single Picture::ScaleTop() const { return static_cast<Single>(CoreOf(w_).scale.top); }
Single Picture::ScaleWidth() const { return static_cast<Single>(CoreOf(w_).scale.width); }
Single Picture::ScaleHeight() const { return static_cast<Single>(CoreOf(w_).scale.height); }

namespace {
// Setting one scale value alone makes the scale a user scale (mode 0).
template <class Change>
void changeScale(PictureWidget* w, Change change)
{
    detail::PictureCore& core = CoreOf(w);
    UserScale s = core.scale;
    change(s);
    core.scaleMode = 0;
    core.setScale(s);
}
} // namespace

void Picture::ScaleLeft(Single v)
{
    changeScale(w_, [v](UserScale& s) { s.left = Checked(v); });
}

void Picture::ScaleTop(Single v)
{
    changeScale(w_, [v](UserScale& s) { s.top = Checked(v); });
}

void Picture::ScaleWidth(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    changeScale(w_, [v](UserScale& s) { s.width = v; });
}

void Picture::ScaleHeight(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    changeScale(w_, [v](UserScale& s) { s.height = v; });
}

void Picture::Cls()
{
    CoreOf(w_).cls();
}

void Picture::Line(Single x1, Single y1, Single x2, Single y2)
{
    CoreOf(w_).line(x1, y1, x2, y2, false, 0);
}

void Picture::Line(Single x1, Single y1, Single x2, Single y2, Colour colour)
{
    CoreOf(w_).line(x1, y1, x2, y2, true, colour);
}

void Picture::AccessibleName(const std::string& name)
{
    detail::PassOnName(w_, name);
}

void Picture::Describe(const std::string& description, const std::string& announcement, Pace pace)
{
    detail::Telling& telling = CoreOf(w_).telling;
    if (!telling.pace.admit(pace, detail::MonotonicSeconds()))
        return;
    telling.description = description;
    detail::PassOnDescription(w_, description, announcement);
}

std::string Picture::Description() const
{
    return CoreOf(w_).telling.description;
}

Colour Picture::BackColor() const
{
    return PaperColour;
}

Colour Picture::ForeColor() const
{
    return InkColour;
}

void Picture::StartRecording()
{
    CoreOf(w_).recording = std::make_unique<std::vector<RecordedLine>>();
}

std::vector<RecordedLine> Picture::TakeRecording()
{
    auto& recording = CoreOf(w_).recording;
    std::vector<RecordedLine> lines;
    if (recording)
        lines = std::move(*recording);
    recording.reset();
    return lines;
}

} // namespace plot

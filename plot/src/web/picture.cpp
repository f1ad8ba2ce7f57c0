#include <cmath>

#include "page.h"
#include "plot/numeric.h"
#include "plot/twips.h"
#include "runtime.h"
#include "widgets.h"

namespace plot {

namespace detail {
PictureCore& CoreOf(PictureWidget* widget)
{
    return widget->core;
}

void PassOnName(PictureWidget* widget, const std::string& name)
{
    plot_page_picture_name(widget->id, name.c_str());
}

void PassOnDescription(PictureWidget* widget, const std::string& description, const std::string& announcement)
{
    plot_page_picture_description(widget->id, description.c_str(), announcement.c_str());
}
} // namespace detail

void PictureWidget::rebuild()
{
    // Its size in twips is the designed one; its pixels are those the page
    // laid it out with.
    const int interiorWidth = std::max(0, width - 2 * detail::pictureBorder);
    const int interiorHeight = std::max(0, height - 2 * detail::pictureBorder);
    core.resize(plot_page_picture_device_width(id), plot_page_picture_device_height(id),
        interiorWidth * TwipsPerPixel(), interiorHeight * TwipsPerPixel());
}

void PictureWidget::follow()
{
    const int w = plot_page_picture_device_width(id), h = plot_page_picture_device_height(id);
    if (w != core.raster.width() || h != core.raster.height())
        core.redrawAt(w, h);
}

void PictureWidget::present()
{
    const auto dirty = core.raster.takeDirty();
    if (!dirty)
        return;
    plot_page_present(id, core.raster.pixels(), core.raster.width(), core.raster.height(), dirty->x1, dirty->y1,
        dirty->x2, dirty->y2);
}

// Where the picture stands in the window, in twips.

Single Picture::Left() const
{
    return CSng(w_->left * TwipsPerPixel());
}

void Picture::Left(Single twips)
{
    w_->left = static_cast<int>(std::lround(Checked(twips) / TwipsPerPixel()));
    plot_page_picture_geometry(w_->id, twips, Width());
}

Single Picture::Width() const
{
    return CSng(w_->width * TwipsPerPixel());
}

void Picture::Width(Single twips)
{
    const long px = std::lround(Checked(twips) / TwipsPerPixel());
    if (px < 0)
        Raise(ErrorCode::InvalidPropertyValue);
    w_->width = static_cast<int>(px);
    plot_page_picture_geometry(w_->id, Left(), twips);
    w_->rebuild();
}

} // namespace plot

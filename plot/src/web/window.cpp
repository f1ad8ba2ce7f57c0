#include "plot/window.h"

#include <algorithm>
#include <cmath>

#include "page.h"
#include "plot/numeric.h"
#include "plot/twips.h"
#include "runtime.h"
#include "widgets.h"

namespace plot {

namespace {

int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

std::vector<FormWidget*>& forms()
{
    static std::vector<FormWidget*> list;
    return list;
}

} // namespace

namespace detail {
ButtonWidget* FindButton(int id)
{
    for (FormWidget* f : forms())
        for (auto& b : f->buttons)
            if (b->id == id)
                return b.get();
    return nullptr;
}
} // namespace detail

Window::Window(const WindowDesign& design)
    : w_(std::make_unique<FormWidget>())
{
    detail::runtime().twipsPerPixel = plot_page_fit_twips_per_pixel(plot_page_viewport_width(),
        plot_page_viewport_height(), design.fitWidth, design.fitHeight);
    w_->caption = design.caption;
    w_->clientWidth = toPixels(design.clientWidth);
    w_->clientHeight = toPixels(design.clientHeight);
    plot_page_form(design.caption.c_str(), design.clientWidth, design.clientHeight, design.fitWidth,
        design.fitHeight, design.font.points, design.font.family.c_str(), design.font.bold);
    forms().push_back(w_.get());
}

Window::~Window()
{
    auto& list = forms();
    list.erase(std::remove(list.begin(), list.end(), w_.get()), list.end());
    auto& pictures = detail::runtime().pictures;
    for (auto& p : w_->pictures)
        pictures.erase(std::remove(pictures.begin(), pictures.end(), p.get()), pictures.end());
}

Picture Window::AddPicture(const Placement& at, int tabIndex)
{
    auto picture = std::make_unique<PictureWidget>();
    PictureWidget* p = picture.get();
    static int nextId = 1000;
    p->id = nextId++;
    p->left = toPixels(at.left);
    p->top = toPixels(at.top);
    p->width = toPixels(at.width);
    p->height = toPixels(at.height);
    w_->pictures.push_back(std::move(picture));
    detail::runtime().pictures.push_back(p);
    p->core.keepLines();
    plot_page_picture(p->id, at.left, at.top, at.width, at.height, tabIndex);
    p->rebuild();
    return Picture(p);
}

Button Window::AddButton(const std::string& caption, const Placement& at, int tabIndex, const FontDesign& font)
{
    auto button = std::make_unique<ButtonWidget>();
    ButtonWidget* b = button.get();
    static int nextId = 1;
    b->id = nextId++;
    b->caption = caption;
    w_->buttons.push_back(std::move(button));
    plot_page_button(b->id, caption.c_str(), at.left, at.top, at.width, at.height, tabIndex, font.points,
        font.family.c_str(), font.bold);
    return Button(b);
}

void Window::OnLoad(std::function<void()> handler)
{
    w_->onLoad = std::move(handler);
}

Single Window::Width() const
{
    return CSng(w_->clientWidth * TwipsPerPixel());
}

void Window::Width(Single twips)
{
    const int width = toPixels(Checked(twips));
    if (width < 0)
        Raise(ErrorCode::InvalidPropertyValue);
    w_->clientWidth = width;
    plot_page_form_width(twips);
}

// The form always stands at the page's top left corner.
void Window::Move(Single left, Single top)
{
    Checked(left);
    Checked(top);
}

std::string Window::Caption() const
{
    return w_->caption;
}

void Window::Unload()
{
    detail::HideWindows();
}

void Window::Load()
{
    detail::RunHandler(w_->onLoad);
}

void Window::Show()
{
    plot_page_show_form();
}

Single ScreenInfo::Width() const
{
    return CSng(plot_page_viewport_width() * TwipsPerPixel());
}

Single ScreenInfo::Height() const
{
    return CSng(plot_page_viewport_height() * TwipsPerPixel());
}

} // namespace plot

// A window in a page has no frame, and the page is its screen: the
// viewport, at the browser's 96 CSS pixels to the inch.
double plot_page_fit_twips_per_pixel(int viewportWidth, int viewportHeight, double fitWidth, double fitHeight)
{
    return plot::ChooseTwipsPerPixel({ 96.0, viewportWidth, viewportHeight, 0, 0 }, fitWidth, fitHeight);
}

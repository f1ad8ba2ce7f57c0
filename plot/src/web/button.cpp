#include "plot/button.h"

#include "page.h"
#include "widgets.h"

namespace plot {

bool Button::Enabled() const
{
    return w_->enabled;
}

void Button::Enabled(bool enabled)
{
    w_->enabled = enabled;
    plot_page_button_enabled(w_->id, enabled);
}

std::string Button::Caption() const
{
    return w_->caption;
}

void Button::Caption(const std::string& text)
{
    w_->caption = text;
    plot_page_button_caption(w_->id, text.c_str());
}

void Button::OnClick(std::function<void()> handler)
{
    w_->onClick = std::move(handler);
}

} // namespace plot

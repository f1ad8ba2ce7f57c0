#include "plot/button.h"

#include <emscripten.h>

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

EM_JS(void, plot_page_button_description, (int id, const char* text), {
    var b = Page.buttons[id], d = UTF8ToString(text);
    if (d) { b.setAttribute('aria-description', d); b.title = d; }
    else { b.removeAttribute('aria-description'); b.removeAttribute('title'); }
});

void Button::Description(const std::string& text)
{
    plot_page_button_description(w_->id, text.c_str());
}

void Button::OnClick(std::function<void()> handler)
{
    w_->onClick = std::move(handler);
}

} // namespace plot

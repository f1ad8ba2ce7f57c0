#pragma once
// A push button of the window.
#include <functional>
#include <string>

namespace plot {

class ButtonWidget;

class Button {
public:
    explicit Button(ButtonWidget* widget)
        : w_(widget)
    {
    }

    // A disabled button is greyed and gives no clicks.
    bool Enabled() const;
    void Enabled(bool enabled);
    // The button's text, UTF-8.
    std::string Caption() const;
    void Caption(const std::string& text);

    // What assistive technology tells of the button beside its name, such
    // as why it is disabled; empty for nothing.
    void Description(const std::string& text);

    void OnClick(std::function<void()> handler);

    ButtonWidget* widget() const { return w_; }

private:
    ButtonWidget* w_;
};

} // namespace plot

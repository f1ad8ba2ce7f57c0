#pragma once
// The program's one window, its controls, and the screen it stands on.
#include <functional>
#include <memory>
#include <string>

#include "plot/button.h"
#include "plot/picture.h"
#include "plot/types.h"

namespace plot {

class FormWidget;

struct FontDesign {
    std::string family;
    double points;
    bool bold;
};

// Position and size in twips in the window's client area.
struct Placement {
    Single left, top, width, height;
};

struct WindowDesign {
    std::string caption;
    Single clientWidth;  // twips
    Single clientHeight; // twips
    // The part of the client area that must fit on the screen.
    Single fitWidth;
    Single fitHeight;
    FontDesign font;
};

class Window {
public:
    explicit Window(const WindowDesign& design);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Picture AddPicture(const Placement& at, int tabIndex);
    Button AddButton(const std::string& caption, const Placement& at, int tabIndex, const FontDesign& font);

    // Runs once, before the window is first shown.
    void OnLoad(std::function<void()> handler);

    // Outer width in twips, frame included.
    Single Width() const;
    void Width(Single twips);
    // Moves the window's outer top left corner; the size stays.
    void Move(Single left, Single top);
    std::string Caption() const;

    // Takes the window off the screen.
    void Unload();

    // The platform's part: load, then show.
    void Load();
    void Show();

    FormWidget* widget() const { return w_.get(); }

private:
    std::unique_ptr<FormWidget> w_;
};

struct ScreenInfo {
    // Width and height of the screen, in twips.
    Single Width() const;
    Single Height() const;
};

inline constexpr ScreenInfo Screen {};

} // namespace plot

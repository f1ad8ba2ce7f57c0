#pragma once
// The browser backend's controls: the program's side of the page's
// elements, which page.js makes and shows.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "picture_core.h"

namespace plot {

class ButtonWidget {
public:
    int id = 0;
    bool enabled = true;
    std::string caption;
    std::function<void()> onClick;
};

class PictureWidget {
public:
    int id = 0;
    int left = 0, top = 0, width = 0, height = 0; // CSS pixels, border included
    detail::PictureCore core;
    // A new interior, all paper, with the pixels the page gave it.
    void rebuild();
    // The picture drawn again if the page has laid it out with other
    // pixels since.
    void follow();
    void present();
};

class FormWidget {
public:
    std::function<void()> onLoad;
    std::string caption;
    int clientWidth = 0, clientHeight = 0; // CSS pixels
    std::vector<std::unique_ptr<ButtonWidget>> buttons;
    std::vector<std::unique_ptr<PictureWidget>> pictures;
};

namespace detail {
// The border the page draws around a picture, in CSS pixels on each side.
inline constexpr int pictureBorder = 2;
// The button with this id, or none.
ButtonWidget* FindButton(int id);
} // namespace detail

} // namespace plot

#pragma once
// The window of the decomposition printout: the 21 harmonic strips of the
// square wave on screen, and the same strips on one printed A4 page.
#include <string>

#include "plot/button.h"
#include "plot/picture.h"
#include "plot/types.h"
#include "plot/window.h"

class Form1 {
public:
    using Integer = plot::Integer;
    using Single = plot::Single;

    Form1();

    plot::Window Me;
    plot::Picture Picture1;
    plot::Button Command1; // "Berechnung"
    plot::Button Command2; // "Ausdruck A4 Hochformat"

    // Form-level variables, shared by both buttons.
    Single PlotX = 0;
    Single BaseY = 0;
    Integer Order = 0;
    // Whether the picture shows the strips, for what a screen reader is
    // told after a printout.
    bool StripsShown = false;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();

private:
    // Runs the strip plot, handing each column's line to draw(top).
    template <class Draw>
    void SweepStrips(Draw draw);
    Single StripTop() const;
    // What the picture shows, in words for a screen reader.
    std::string PictureDescription() const;
};

#include "form1.h"

#include <string>

#include "plot/application.h"
#include "plot/numeric.h"
#include "plot/printer.h"

using plot::Checked;
using plot::CSng;
using plot::Divide;

namespace {

const plot::FontDesign windowFont { "MS Sans Serif", 8.25, true };

// Five spaces between the words, 57 before the trailing text.
const std::string caption
    = "Fourierzerlegung-Rechteck     Ausdruck" + std::string(57, ' ') + "Harmonische 1 bis 41";

const plot::WindowDesign design {
    caption,
    17925, 14265,
    // "Berechnung" ends at 16215; the load handler leaves 10 twips.
    16215 + 10, 14265,
    windowFont,
};

// The sweep step: 0.005 as a 32-bit float.
constexpr plot::Single step = 0.005f;
constexpr plot::Single sweepEnd = 25;
constexpr plot::Integer lastOrder = 41;

} // namespace

Form1::Form1()
    : Me(design)
    , Picture1(Me.AddPicture({ 240, 120, 14535, 13335 }, 0))
    , Command1(Me.AddButton("Berechnung", { 14760, 13560, 1455, 615 }, 1, windowFont))
    , Command2(Me.AddButton("Ausdruck A4 Hochformat", { 360, 13800, 2415, 495 }, 2, windowFont))
{
    Me.OnLoad([this] { Form_Load(); });
    Command1.OnClick([this] { Command1_Click(); });
    Command2.OnClick([this] { Command2_Click(); });
    Picture1.AccessibleName("Harmonische der Rechteckschwingung");
    Picture1.Describe(PictureDescription(), "");
}

void Form1::Form_Load()
{
    Me.Width(plot::Screen.Width() - Single(10));
    Me.Move(0, 0);
    Picture1.Width(CSng(Checked(double(Me.Width()) * 0.98)));
    Picture1.Left(100);
    Picture1.ScaleMode(1);
    Picture1.ScaleWidth(25);
    Picture1.ScaleHeight(-5);
    Picture1.ScaleTop(5);
}

Form1::Single Form1::StripTop() const
{
    const double k = double(Single(Order));
    const double kx = Checked(k * double(PlotX));
    const double term = Divide(Checked(plot::Sin(kx) + 1.0), k);
    return CSng(Checked(term + double(BaseY)));
}

template <class Draw>
void Form1::SweepStrips(Draw draw)
{
    Order = 1;
    BaseY = 0;
    for (;;) {
        for (PlotX = 0; PlotX <= sweepEnd; PlotX = PlotX + step)
            draw(StripTop());
        if (Order == lastOrder)
            return;
        BaseY = CSng(Checked(Divide(2.0, double(Order)) + double(BaseY)));
        Order = plot::AddInteger(Order, 2);
    }
}

void Form1::Command1_Click()
{
    SweepStrips([this](Single top) { Picture1.Line(PlotX, BaseY, PlotX, top); });
    StripsShown = true;
    Picture1.Describe(PictureDescription(), "Die 21 Harmonischen sind gezeichnet.");
    plot::LessonCompleted();
}

std::string Form1::PictureDescription() const
{
    if (!StripsShown)
        return "Das Bild ist leer. „Berechnung“ zeichnet die 21 Harmonischen der Rechteckschwingung, "
               "„Ausdruck A4 Hochformat“ druckt sie auf eine A4-Seite.";
    return "Die 21 Harmonischen der Rechteckschwingung, Ordnungen 1, 3, 5 bis 41, als übereinandergestapelte "
           "Bänder, unten Ordnung 1. Jede ist eine Sinuskurve mit der Amplitude 1/n: je höher die Ordnung n, "
           "desto flacher und dichter.";
}

void Form1::Command2_Click()
{
    // On paper y grows downward, from -0.5 at the top edge to 5 at the
    // bottom: the page shows the screen picture upside down, order 1 on top.
    plot::Printer().ScaleMode(1);
    plot::Printer().ScaleHeight(5.5f);
    plot::Printer().ScaleWidth(25);
    plot::Printer().ScaleTop(-0.5f);
    plot::Printer().ScaleLeft(0);
    SweepStrips([this](Single top) { plot::Printer().Line(PlotX, BaseY, PlotX, top); });
    plot::Printer().EndDoc();
    const std::string printed = "Die A4-Seite mit den 21 Harmonischen ist an den Drucker gegangen.";
    Picture1.Describe(PictureDescription() + " " + printed + " Auf dem Papier steht Ordnung 1 oben.", printed);
}

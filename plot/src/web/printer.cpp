// The printer in a browser: the page's lines become a vector page (SVG)
// for A4 portrait, which the page shows only in print; EndDoc asks the
// browser to print it. The browser's print dialog, which offers the
// system's default printer, is the one way a page can print.
#include "plot/printer.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "page.h"
#include "plot/numeric.h"
#include "plot/pixel_mapping.h"
#include "runtime.h"

namespace plot {

namespace {

// A4 portrait less the margins the page's print style asks for, in mm.
constexpr double areaWidthMm = 190;
constexpr double areaHeightMm = 277;
constexpr double twipsPerMm = 1440 / 25.4;

// Twips over the printable area, origin at its top left, y down.
UserScale twipsScale()
{
    return { 0, 0, areaWidthMm * twipsPerMm, areaHeightMm * twipsPerMm };
}

struct PrinterState {
    UserScale scale = twipsScale();
    std::string path; // the document's lines, as SVG path data in mm
};

PrinterState& state()
{
    static PrinterState s;
    return s;
}

template <class Change>
void changeScale(Change change)
{
    UserScale& s = state().scale;
    change(s);
}

// A coordinate in mm, to the micrometre. Far outside the page it is
// clipped all the same, so it is held to a metre either way.
void appendNumber(std::string& out, double v)
{
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%.3f", std::clamp(v, -1000.0, 1000.0));
    out.append(buffer, n);
}

} // namespace

void PrinterSurface::ScaleMode(Integer mode)
{
    if (mode != 1)
        Raise(ErrorCode::InvalidPropertyValue);
    state().scale = twipsScale();
}

void PrinterSurface::ScaleLeft(Single v)
{
    changeScale([v](UserScale& s) { s.left = Checked(v); });
}

void PrinterSurface::ScaleTop(Single v)
{
    changeScale([v](UserScale& s) { s.top = Checked(v); });
}

void PrinterSurface::ScaleWidth(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    changeScale([v](UserScale& s) { s.width = v; });
}

void PrinterSurface::ScaleHeight(Single v)
{
    if (Checked(v) == 0)
        Raise(ErrorCode::InvalidPropertyValue);
    changeScale([v](UserScale& s) { s.height = v; });
}

void PrinterSurface::Line(Single x1, Single y1, Single x2, Single y2)
{
    const UserScale& s = state().scale;
    const double fx = areaWidthMm / s.width, fy = areaHeightMm / s.height;
    const double mx1 = (x1 - s.left) * fx, my1 = (y1 - s.top) * fy;
    const double mx2 = (x2 - s.left) * fx, my2 = (y2 - s.top) * fy;
    std::string& out = state().path;
    out += 'M';
    appendNumber(out, mx1);
    out += ' ';
    appendNumber(out, my1);
    if (mx1 == mx2) {
        out += 'V';
    } else {
        out += 'L';
        appendNumber(out, mx2);
        out += ' ';
    }
    appendNumber(out, my2);
}

void PrinterSurface::EndDoc()
{
    PrinterState& s = state();
    if (s.path.empty())
        return;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"190mm\" height=\"277mm\" "
                      "viewBox=\"0 0 190 277\" overflow=\"hidden\">"
                      "<path fill=\"none\" stroke=\"#000\" stroke-width=\"0.05\" stroke-linecap=\"square\" d=\"";
    svg += s.path;
    svg += "\"/></svg>";
    s.path.clear();
    s.path.shrink_to_fit();
    s.scale = twipsScale();
    plot_page_print(svg.c_str());
}

PrinterSurface& Printer()
{
    static PrinterSurface printer;
    return printer;
}

namespace detail {

void AbandonPrintJob()
{
    state().path.clear();
    state().scale = twipsScale();
}

} // namespace detail

} // namespace plot

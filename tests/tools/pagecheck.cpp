// Checks the rasterised printout of waveprint: an A4 portrait page whose
// printable area (given in points, as the printer's driver defines it)
// holds the 21 square-wave strips mirrored top to bottom, order 1 at the
// top with its base line half a unit below the area's top edge.
//
// usage: pagecheck page.png left top right bottom   (points from the top left)
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: pagecheck page.png left top right bottom\n");
        return 2;
    }
    const QImage page(argv[1]);
    if (page.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const double ratio = double(page.height()) / page.width();
    if (std::fabs(ratio - 842.0 / 595.0) > 0.01) {
        std::fprintf(stderr, "not A4 portrait: %dx%d\n", page.width(), page.height());
        return 1;
    }
    const double px = page.width() / 595.0; // pixels per point
    const double left = std::atof(argv[2]) * px, top = std::atof(argv[3]) * px;
    const double right = std::atof(argv[4]) * px, bottom = std::atof(argv[5]) * px;
    const double unitX = (right - left) / 25, unitY = (bottom - top) / 5.5;
    auto dark = [&](double x, double y) {
        const int c = int(left + x * unitX), r = int(top + (y + 0.5) * unitY);
        return qGray(page.pixel(c, r)) < 128;
    };

    long checked = 0, wrong = 0;
    auto expect = [&](double x, double y, bool filled, const char* what) {
        ++checked;
        if (dark(x, y) != filled && ++wrong <= 10)
            std::fprintf(stderr, "%s at x %.2f, y %.2f: expected %s\n", what, x, y, filled ? "ink" : "paper");
    };
    // The ink fills the area from the base line of order 1 down to the
    // bottom edge, from the left edge to the right: nothing scaled it.
    int inkLeft = page.width(), inkRight = -1, inkTop = page.height(), inkBottom = -1;
    for (int r = 0; r < page.height(); ++r)
        for (int c = 0; c < page.width(); ++c)
            if (qGray(page.pixel(c, r)) < 128) {
                inkLeft = std::min(inkLeft, c), inkRight = std::max(inkRight, c);
                inkTop = std::min(inkTop, r), inkBottom = std::max(inkBottom, r);
            }
    const double slack = 2.5; // pixels
    auto near = [&](double got, double want, const char* edge) {
        ++checked;
        if (std::fabs(got - want) > slack && ++wrong)
            std::fprintf(stderr, "%s of the ink at %.1f px, expected %.1f\n", edge, got, want);
    };
    near(inkLeft, left, "left edge");
    near(inkRight + 1, right, "right edge");
    near(inkTop, top + 0.5 * unitY, "top edge");
    near(inkBottom + 1, bottom, "bottom edge");

    const double pi = std::acos(-1.0);
    for (int n = 0; n < 4; ++n) {
        // Order 1, from its base line y = 0 downward to Sin(x) + 1.
        for (double y = 0.1; y < 1.9; y += 0.05) {
            expect(pi / 2 + 2 * pi * n, y, true, "order 1 crest");
            expect(3 * pi / 2 + 2 * pi * n, y, false, "order 1 trough");
        }
        // Above the base line: paper.
        for (double y = -0.45; y < -0.05; y += 0.05)
            expect(pi / 2 + 2 * pi * n, y, false, "top margin");
    }
    // Order 3 below it, from y = 2 to at most 2 2/3.
    for (double x : { pi / 6, pi / 6 + 2 * pi / 3 * 3 })
        for (double y = 2.05; y < 2.6; y += 0.05)
            expect(x, y, true, "order 3 crest");
    // Just left and right of the area: paper.
    for (double y = 0.2; y < 4.8; y += 0.2) {
        expect(-0.3, y, false, "left margin");
        expect(25.3, y, false, "right margin");
    }
    std::printf("%ld points checked, %ld wrong\n", checked, wrong);
    return checked > 100 && wrong == 0 ? 0 : 1;
}

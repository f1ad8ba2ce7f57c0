// Checks a screenshot of the square wave in wavesum, inside the plot area
// given on the command line (interior, in pixels):
//   strips  after "Start Rechteck": the strips of orders 1 and 3 are filled
//           where the coordinate system puts them, and empty above them;
//   sum     after a complete "Ordnungen aufaddieren": the area under the sum
//           of orders 1 to 103 is filled, everything above it is white.
// Filled means dark ink; empty means white paper, to the bit.
//
// usage: shotcheck strips|sum shot.png left top width height
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Range {
    double low = 1e9, high = -1e9;
};

// The lowest and highest strip top of order k among the sweep columns
// that fall into pixel column c.
Range topsInColumn(int k, double base, int c, int width)
{
    Range r;
    for (float x = 0; x <= 25; x += 0.01f) {
        if (int(std::floor(x / 25.0 * width)) != c)
            continue;
        const double t = (std::sin(double(float(k)) * double(x)) + 1.0) / k + base;
        r.low = std::min(r.low, t);
        r.high = std::max(r.high, t);
    }
    return r;
}

// The lowest and highest value of the square-wave sum of odd orders 1 to
// 103 among the sweep columns that fall into pixel column c.
Range sumInColumn(int c, int width)
{
    Range r;
    for (float x = 0; x <= 25; x += 0.01f) {
        if (int(std::floor(x / 25.0 * width)) != c)
            continue;
        double sum = 0;
        for (int k = 1; k <= 103; k += 2)
            sum += (std::sin(double(float(k)) * double(x)) + 1.0) / k;
        r.low = std::min(r.low, sum);
        r.high = std::max(r.high, sum);
    }
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 7 ? argv[1] : "";
    if (mode != "strips" && mode != "sum") {
        std::fprintf(stderr, "usage: shotcheck strips|sum shot.png left top width height\n");
        return 2;
    }
    const QImage shot(argv[2]);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    const int left = std::atoi(argv[3]), top = std::atoi(argv[4]);
    const int width = std::atoi(argv[5]), height = std::atoi(argv[6]);
    const double unitPx = height / 5.0; // pixels per y unit
    const double margin = 2.0 / unitPx; // two pixels, in y units

    long checked = 0, wrong = 0;
    auto expect = [&](int c, double y, bool filled) {
        const int row = int((5 - y) * unitPx);
        const QRgb p = shot.pixel(left + c, top + row);
        // Filled is ink (dark); empty is white paper exactly.
        const bool right = filled ? qGray(p) < 128 : (p & 0xffffff) == 0xffffff;
        ++checked;
        if (!right && ++wrong <= 10)
            std::fprintf(stderr, "column %d, y %.3f: expected %s\n", c, y, filled ? "filled" : "empty");
    };
    for (int c = 3; mode == "sum" && c < width - 3; c += 7) {
        const Range sum = sumInColumn(c, width);
        for (double y = margin; y < sum.low - margin; y += 0.1)
            expect(c, y, true);
        for (double y = sum.high + margin; y < 5 - margin; y += 0.05)
            expect(c, y, false);
    }
    for (int c = 3; mode == "strips" && c < width - 3; c += 7) {
        const Range one = topsInColumn(1, 0, c, width);
        const Range three = topsInColumn(3, 2, c, width);
        for (double y = margin; y < one.low - margin; y += 0.1)
            expect(c, y, true);
        for (double y = one.high + margin; y < 2 - margin; y += 0.1)
            expect(c, y, false);
        for (double y = 2 + margin; y < three.low - margin; y += 0.05)
            expect(c, y, true);
        for (double y = three.high + margin; y < 2 + 2.0 / 3 - margin; y += 0.05)
            expect(c, y, false);
    }
    std::printf("%ld points checked, %ld wrong\n", checked, wrong);
    return checked > 1000 && wrong == 0 ? 0 : 1;
}

// The sawtooth strip plot (250,000 checked Line calls) against a bare loop
// that fills the same pixel spans into an image of the same size, in the
// same run. Prints both times and their ratio.
//
// run: QT_QPA_PLATFORM=offscreen build/bin/bench_strip_plot [repeats]
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "form1.h"
#include "picture_widget.h"
#include "plot/pixel_mapping.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Span {
    int column, top, bottom;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    Form1 form;
    form.Me.Load();
    plot::PictureWidget* picture = form.Picture1.widget();

    // The spans the strip plot fills, taken from one recorded run.
    form.Picture1.StartRecording();
    form.Command2_Click();
    const auto lines = form.Picture1.TakeRecording();
    const QImage& target = picture->image();
    const plot::PixelMapping mapping(picture->core.scale, target.width(), target.height());
    std::vector<Span> spans;
    spans.reserve(lines.size());
    for (const auto& l : lines)
        if (auto s = mapping.segment(l.x1, l.y1, l.x2, l.y2))
            spans.push_back({ s->x1, std::min(s->y1, s->y2), std::max(s->y1, s->y2) });

    QImage bare(target.size(), target.format());
    double best = 1e9, bestBare = 1e9;
    for (int r = 0; r < repeats; ++r) {
        auto start = Clock::now();
        form.Command2_Click();
        best = std::min(best, millisecondsSince(start));

        start = Clock::now();
        bare.fill(Qt::white);
        auto* bits = reinterpret_cast<QRgb*>(bare.bits());
        const qsizetype stride = bare.bytesPerLine() / 4;
        for (const Span& s : spans) {
            QRgb* p = bits + s.top * stride + s.column;
            for (int y = s.top; y <= s.bottom; ++y, p += stride)
                *p = 0xFF000000;
        }
        bestBare = std::min(bestBare, millisecondsSince(start));
    }
    std::printf("picture %dx%d, %zu lines, %zu visible spans\n", target.width(), target.height(), lines.size(),
        spans.size());
    std::printf("sawtooth strip plot: %.2f ms (best of %d)\n", best, repeats);
    std::printf("bare span fill:      %.2f ms\n", bestBare);
    std::printf("ratio:               %.2f (target at most 2)\n", best / bestBare);
    return 0;
}

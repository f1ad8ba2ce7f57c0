// The sawtooth's "Ordnungen aufaddieren" in a shown window.
//
//   ratio   a complete run against the 25,000 Delay calls of its slow
//           phases, in the same process (target: at most 1.10); with
//           "sound" the tone plays meanwhile (target: at most 2 % above
//           the ratio without), and the times its output ran dry are
//           counted (target 0)
//   frames  frames the plot area paints during a complete run, per second,
//           and the longest gap between two (targets: 50/s, 40 ms)
//   pause   CPU time used while the run stands paused for 5 seconds
//           (target: under 0.1 s)
//
// run: QT_QPA_PLATFORM=offscreen build/bin/bench_adding_up ratio [repeats] [sound]
//      bench/adding_up.sh runs all three, frames and pause under Xvfb.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "form1.h"
#include "picture_widget.h"
#include "plot/testing.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Notes the time of every paint of the plot area.
class PaintClock : public QObject {
public:
    std::vector<Clock::time_point> paints;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            paints.push_back(Clock::now());
        return false;
    }
};

struct ShownForm {
    ShownForm()
    {
        form.Me.Load();
        form.Me.Show();
        QApplication::processEvents();
        form.Command2_Click();
        QApplication::processEvents();
    }
    Form1 form;
};

int ratio(int repeats, bool sound)
{
    ShownForm shown;
    Form1& form = shown.form;
    if (sound && !form.Tone.Playing(true)) {
        std::fprintf(stderr, "no audio output\n");
        return 1;
    }
    const std::uint64_t underrunsBefore = plot::testing::ToneUnderruns();
    double run = 1e9, delays = 1e9;
    for (int r = 0; r < repeats; ++r) {
        auto start = Clock::now();
        form.Command3_Click();
        run = std::min(run, secondsSince(start));
        start = Clock::now();
        for (int i = 0; i < 25000; ++i)
            form.Delay();
        delays = std::min(delays, secondsSince(start));
    }
    std::printf("complete sawtooth run: %.3f s, %llu pumps (best of %d)\n", run,
        static_cast<unsigned long long>(plot::testing::PumpCount() / std::uint64_t(repeats)), repeats);
    std::printf("25,000 Delay calls:    %.3f s\n", delays);
    std::printf("ratio:                 %.3f (target at most 1.10)%s\n", run / delays, sound ? ", tone on" : "");
    if (sound)
        std::printf("tone output ran dry:   %llu times in %d runs (target 0)\n",
            static_cast<unsigned long long>(plot::testing::ToneUnderruns() - underrunsBefore), repeats);
    return 0;
}

int frames()
{
    ShownForm shown;
    PaintClock clock;
    shown.form.Picture1.widget()->installEventFilter(&clock);
    const auto start = Clock::now();
    shown.form.Command3_Click();
    QApplication::processEvents();
    const double seconds = secondsSince(start);
    double longest = 0;
    auto previous = start;
    for (auto t : clock.paints) {
        longest = std::max(longest, std::chrono::duration<double, std::milli>(t - previous).count());
        previous = t;
    }
    std::printf("run: %.3f s, %zu frames painted, %.1f frames/s (target at least 50)\n", seconds,
        clock.paints.size(), double(clock.paints.size()) / seconds);
    std::printf("longest gap between frames: %.1f ms (target at most 40)\n", longest);
    return 0;
}

int pausedCpu()
{
    ShownForm shown;
    Form1& form = shown.form;
    double cpuAtPause = 0, cpuAtResume = 0;
    Clock::time_point wallAtPause;
    bool paused = false;
    plot::testing::SetPumpHook([&](std::uint64_t pump) {
        if (pump == 1001)
            form.Command4_Click(); // "unterbrechen"
        if (form.RunState == 1 && !paused) {
            paused = true;
            cpuAtPause = cpuSeconds();
            wallAtPause = Clock::now();
            QTimer::singleShot(5000, [&] {
                cpuAtResume = cpuSeconds();
                std::printf("paused for %.2f s wall\n", secondsSince(wallAtPause));
                form.Command6_Click(); // "Löschen" ends the run
            });
        }
    });
    form.Command3_Click();
    std::printf("CPU time while paused: %.4f s (target under 0.1)\n", cpuAtResume - cpuAtPause);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "ratio";
    if (mode == "ratio")
        return ratio(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3, argc > 3 && std::string(argv[3]) == "sound");
    if (mode == "frames")
        return frames();
    if (mode == "pause")
        return pausedCpu();
    std::fprintf(stderr, "usage: bench_adding_up ratio [repeats] [sound] | frames | pause\n");
    return 2;
}

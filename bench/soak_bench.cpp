// Ten complete sawtooth runs one after the other in one shown window, with
// the resident set measured before the first and after the last
// (target: growth under 5 MiB).
//
// run: QT_QPA_PLATFORM=offscreen build/bin/bench_soak [runs]
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "form1.h"
#include "plot/testing.h"
#include "widgets.h"

namespace {

double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    std::string error;
    plot::SetErrorReporter([&](const plot::RuntimeError& e) { error = e.message(); });

    Form1 form;
    form.Me.Load();
    form.Me.Show();
    QApplication::processEvents();
    // What the first run needs once (fonts, the image, the pump's state)
    // is there before the first measurement: a strip plot has been drawn.
    form.Command2.widget()->click();
    QApplication::processEvents();
    const double before = residentMiB();

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs && error.empty(); ++i) {
        form.Command2.widget()->click();
        form.Command3.widget()->click();
        QApplication::processEvents();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double after = residentMiB();

    if (!error.empty()) {
        std::printf("run-time error: %s\n", error.c_str());
        return 1;
    }
    const double growth = after - before;
    std::printf("%d sawtooth runs in %.1f s, %llu pumps; resident set %.1f MiB before, %.1f MiB after: "
                "growth %.2f MiB (target < 5)\n",
        runs, seconds, static_cast<unsigned long long>(plot::testing::PumpCount()), before, after, growth);
    return growth < 5.0 ? 0 : 1;
}

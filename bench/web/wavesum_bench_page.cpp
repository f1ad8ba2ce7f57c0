// wavesum as it is, plus what the browser benchmarks need in the same
// page: a run of Delay calls to measure a complete run against.
#include <emscripten.h>

#include "form1.h"
#include "plot/application.h"

namespace {
Form1* form = nullptr;
}

// Milliseconds that n calls of Delay take, called by the benchmark while
// the program waits for a click.
extern "C" EMSCRIPTEN_KEEPALIVE double bench_delays(int n)
{
    const double start = emscripten_get_now();
    for (int i = 0; i < n; ++i)
        form->Delay();
    return emscripten_get_now() - start;
}

int main(int argc, char** argv)
{
    plot::Application app(argc, argv, "wavesum", "de.wellenlehre.wavesum");
    Form1 f;
    form = &f;
    return app.Run(f.Me);
}


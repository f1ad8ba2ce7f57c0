// A test page for the browser backend's error path: "Lauf" starts a run
// that pumps events until the program ends, and may be clicked again to
// nest a second run in the first; "Fehler" raises an overflow inside
// them. The error must be shown once, unwind every run without resuming
// any, and end the program.
#include <emscripten.h>

#include "plot/application.h"
#include "plot/events.h"
#include "plot/numeric.h"
#include "plot/window.h"

namespace {

const plot::FontDesign font { "MS Sans Serif", 8.25, true };

struct FaultForm {
    plot::Window Me { { "Fehlertest", 6000, 4000, 6000, 4000, font } };
    plot::Picture Picture1 = Me.AddPicture({ 0, 0, 6000, 3000 }, 0);
    plot::Button Run = Me.AddButton("Lauf", { 0, 3200, 2000, 600 }, 1, font);
    plot::Button Fault = Me.AddButton("Fehler", { 2400, 3200, 2000, 600 }, 2, font);
    int runs = 0;

    FaultForm()
    {
        Run.OnClick([this] {
            const int run = ++runs;
            EM_ASM({ window.runsStarted = $0; }, run);
            for (plot::Single x = 0;; x = x + 0.5f) {
                Picture1.Line(x, 0, x, 3000);
                plot::DoEvents();
                // Nothing of a run may go on once the program has ended.
                EM_ASM({ if (Page.ended) window.resumedAfterEnd = true; });
            }
        });
        Fault.OnClick([] { plot::CSng(1e300); });
    }
};

} // namespace

int main(int argc, char** argv)
{
    plot::Application app(argc, argv, "fault", "fault");
    FaultForm form;
    return app.Run(form.Me);
}

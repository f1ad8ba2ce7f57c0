#include "form1.h"

#include "plot/application.h"
#include "plot/events.h"

using plot::Checked;
using plot::CSng;
using plot::Divide;
using plot::Integer;
using plot::Single;

namespace {

const plot::FontDesign windowFont { "MS Sans Serif", 8.25, true };
const plot::FontDesign buttonFont { "MS Sans Serif", 12, true };

const plot::WindowDesign design {
    "Fouriersynthese der Rechteck-/Sägezahnkurve",
    17925, 14265,
    // The button row ends at 16575; the load handler leaves 10 twips.
    16575 + 10, 14265,
    windowFont,
};

constexpr plot::Colour magenta = plot::RGB(255, 0, 255);
constexpr plot::Colour white = plot::RGB(255, 255, 255);

// The sweep step: 0.01 as a 32-bit float.
constexpr Single step = 0.01f;
constexpr Single sweepEnd = 25;

} // namespace

Form1::Form1()
    : Me(design)
    , Picture1(Me.AddPicture({ 0, 360, 16455, 13095 }, 5))
    , Command1(Me.AddButton("Start Rechteck", { 360, 13560, 2055, 615 }, 3, buttonFont))
    , Command2(Me.AddButton("Start Sägezahn", { 2520, 13560, 2175, 615 }, 0, buttonFont))
    , Command3(Me.AddButton("Ordnungen aufaddieren", { 4800, 13560, 3255, 615 }, 4, buttonFont))
    , Command4(Me.AddButton("unterbrechen", { 8280, 13560, 2175, 615 }, 1, buttonFont))
    , Command5(Me.AddButton("Ende", { 14400, 13560, 2175, 615 }, 2, buttonFont))
    , Command6(Me.AddButton("Löschen", { 10680, 13560, 1935, 615 }, 6, buttonFont))
    // In the free space between "Löschen" and "Ende", last in the tab order.
    , Command7(Me.AddButton("Ton an", { 12735, 13560, 1545, 615 }, 7, buttonFont))
{
    Me.OnLoad([this] { Form_Load(); });
    Command1.OnClick([this] { Command1_Click(); });
    Command2.OnClick([this] { Command2_Click(); });
    Command3.OnClick([this] { Command3_Click(); });
    Command4.OnClick([this] { Command4_Click(); });
    Command5.OnClick([this] { Command5_Click(); });
    Command6.OnClick([this] { Command6_Click(); });
    Command7.OnClick([this] { Command7_Click(); });
    Tone.SwitchedBy(Command7);
    Tone.OnLost([this] { ToneLost(); });
    if (!Tone.Available()) {
        Command7.Enabled(false);
        Command7.Description("Kein Audiogerät gefunden");
    }
    Picture1.AccessibleName("Harmonische und Summenkurve");
    TellEmpty("");
}

void Form1::Form_Load()
{
    Me.Width(plot::Screen.Width() - Single(10));
    Me.Move(0, 0);
    Picture1.Width(CSng(Checked(double(Me.Width()) * 0.98)));
    Picture1.Left(100);
    Picture1.ScaleMode(1);
    Picture1.ScaleWidth(25);
}

// Sweep helpers -------------------------------------------------------

void Form1::NextColumn()
{
    PlotX = PlotX + step;
}

plot::Long Form1::Column() const
{
    return plot::CLng(double(PlotX) * 100.0);
}

double Form1::Term(Integer k) const
{
    const double kx = Checked(double(Single(k)) * double(PlotX));
    return Divide(Checked(plot::Sin(kx) + 1.0), double(k));
}

Single Form1::StripTop(Integer k) const
{
    return CSng(Checked(Term(k) + double(BaseY)));
}

void Form1::DrawStripLine(Integer k)
{
    Picture1.Line(PlotX, BaseY, PlotX, StripTop(k));
}

void Form1::DrawStripLine(Integer k, plot::Colour colour)
{
    Picture1.Line(PlotX, BaseY, PlotX, StripTop(k), colour);
}

void Form1::DrawIncrementLine()
{
    const Single from = CSng(PartialSum(Column()));
    Picture1.Line(PlotX, from, PlotX, CSng(NextSum(Column())), magenta);
}

void Form1::DrawSumBar()
{
    Picture1.Line(PlotX, 0, PlotX, CSng(PartialSum(Column())));
}

void Form1::StepBase(Integer k)
{
    BaseY = CSng(Checked(Divide(2.0, double(k)) + double(BaseY)));
}

// Start buttons --------------------------------------------------------

void Form1::Command1_Click()
{
    CurveMode = 1;
    Picture1.ScaleHeight(-5);
    Picture1.ScaleTop(5);
    Picture1.Cls();
    Command2.Enabled(false);
    Order = 1;
    BaseY = 0;
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
        PartialSum(Column()) = Checked(plot::Sin(double(PlotX)) + 1.0);
    Tone.Clear();
    Tone.Add(1);
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
        Picture1.Line(PlotX, BaseY, PlotX, CSng(PartialSum(Column())));
    while (Order != 41) {
        StepBase(Order);
        Order = plot::AddInteger(Order, 2);
        for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
            DrawStripLine(Order);
    }
    TellStrips();
}

void Form1::Command2_Click()
{
    CurveMode = 2;
    Picture1.ScaleHeight(-8);
    Picture1.ScaleTop(8);
    Picture1.Cls();
    Command1.Enabled(false);
    Order = 1;
    BaseY = 0;
    Tone.Clear();
    Tone.Add(1);
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn()) {
        PartialSum(Column()) = Checked(plot::Sin(double(PlotX)) + 1.0);
        Picture1.Line(PlotX, BaseY, PlotX, CSng(PartialSum(Column())));
    }
    while (Order != 100) {
        Order = plot::AddInteger(Order, 1);
        StepBase(plot::SubtractInteger(Order, 1));
        for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
            DrawStripLine(Order);
    }
    TellStrips();
}

// Adding up the orders --------------------------------------------------

void Form1::Command3_Click()
{
    if (ActiveRuns >= MaxNestedRuns)
        return;
    struct RunCount {
        Integer& runs;
        explicit RunCount(Integer& r)
            : runs(r)
        {
            ++runs;
        }
        ~RunCount() { --runs; }
    } counted(ActiveRuns);

    // A clear request ends the run wherever it comes; the two curve tests
    // are made one after the other, not as alternatives.
    bool goOn = RunState != 3;
    if (goOn && CurveMode == 1)
        goOn = AnimateSquareWave();
    if (goOn && CurveMode == 2)
        (void)AnimateSawtooth();
    RunState = 0;
}

bool Form1::AnimateSquareWave()
{
    BaseY = 2;
    Order = 3;
    HighlightSweep();
    TellAdding(false);
    if (!FirstAddingSweep(false))
        return false;
    // Each order joins the tone once its adding sweep is done.
    Tone.Add(Order);
    while (Order < 7) { // orders 5 and 7, slowly
        OrderAdvance(2);
        PreparationSweep();
        TellAdding(false);
        if (!SlowAddingSweep())
            return false;
        Tone.Add(Order);
    }
    while (Order < 103) { // orders 9 to 103, at full speed
        plot::DoEvents();
        if (!AbortTest())
            return false;
        OrderAdvance(2);
        PreparationSweep();
        TellAdding(true);
        if (!FastAddingSweep())
            return false;
        Tone.Add(Order);
    }
    TellFinished();
    plot::LessonCompleted();
    return true;
}

bool Form1::AnimateSawtooth()
{
    RefillSweep();
    BaseY = 2;
    Order = 2;
    HighlightSweep();
    TellAdding(false);
    if (!FirstAddingSweep(true))
        return false;
    Tone.Add(Order);
    while (Order < 6) { // orders 3 to 6, slowly
        OrderAdvance(1);
        PreparationSweep();
        TellAdding(false);
        if (!SlowAddingSweep())
            return false;
        Tone.Add(Order);
    }
    while (Order < 100) { // orders 7 to 100, at full speed
        plot::DoEvents();
        if (!AbortTest())
            return false;
        OrderAdvance(1);
        PreparationSweep();
        TellAdding(true);
        if (!FastAddingSweep())
            return false;
        Tone.Add(Order);
    }
    TellFinished();
    plot::LessonCompleted();
    return true;
}

// A handler nested in this column's pumps may have swept PlotX past the
// last column. Index 2500 is the one column beyond a sweep and is still
// drawn; a run around a nested run that ended there would come to 2501,
// past the arrays: for it the sweep is over.
bool Form1::SweptPastTheEnd() const
{
    return Column() > 2500;
}

bool Form1::AbortTest() const
{
    return RunState != 3;
}

bool Form1::PauseWait()
{
    plot::DoEvents();
    bool held = false;
    while (RunState != 0) {
        if (RunState == 3)
            return false;
        if (!held) {
            TellHeld();
            held = true;
        }
        // Only an event can change RunState: sleep until one comes.
        plot::DoEvents(plot::PumpMode::UntilEvent);
    }
    if (held)
        TellResumed();
    return true;
}

void Form1::OrderAdvance(Integer step)
{
    StepBase(Order);
    Order = plot::AddInteger(Order, step);
}

void Form1::RefillSweep()
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
        PartialSum(Column()) = Checked(plot::Sin(double(PlotX)) + 1.0);
}

void Form1::HighlightSweep()
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn())
        DrawStripLine(Order, magenta);
}

bool Form1::FirstAddingSweep(bool sawtooth)
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn()) {
        plot::DoEvents();
        if (!AbortTest() || !PauseWait())
            return false;
        if (SweptPastTheEnd())
            return true;
        if (sawtooth)
            NextSum(Column()) = Checked(Term(Order) + Checked(plot::Sin(double(PlotX)) + 1.0));
        else
            NextSum(Column()) = Checked(PartialSum(Column()) + Term(Order));
        Delay();
        DrawStripLine(Order, white);
        DrawIncrementLine();
        Delay();
    }
    return true;
}

void Form1::PreparationSweep()
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn()) {
        PartialSum(Column()) = NextSum(Column());
        NextSum(Column()) = Checked(NextSum(Column()) + Term(Order));
        DrawSumBar();
        DrawStripLine(Order, magenta);
    }
}

bool Form1::SlowAddingSweep()
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn()) {
        plot::DoEvents();
        if (!AbortTest() || !PauseWait())
            return false;
        if (SweptPastTheEnd())
            return true;
        Delay();
        DrawStripLine(Order, white);
        DrawIncrementLine();
        Delay();
    }
    return true;
}

bool Form1::FastAddingSweep()
{
    for (PlotX = 0; PlotX <= sweepEnd; NextColumn()) {
        plot::DoEvents();
        if (!PauseWait())
            return false;
        if (SweptPastTheEnd())
            return true;
        DrawStripLine(Order, white);
        DrawIncrementLine();
    }
    return true;
}

// Control buttons --------------------------------------------------------

void Form1::Command4_Click()
{
    RunState = plot::SubtractInteger(1, RunState);
    if (RunState == 0)
        Command4.Caption("unterbrechen");
    if (RunState == 1)
        Command4.Caption("weiter");
}

void Form1::Command5_Click()
{
    Me.Unload();
    plot::End();
}

void Form1::Command6_Click()
{
    CurveMode = 0;
    Picture1.Cls();
    Command1.Enabled(true);
    Command2.Enabled(true);
    // A clear request only means something to a run in progress; with none
    // running it would swallow the next click on "Ordnungen aufaddieren".
    RunState = ActiveRuns > 0 ? 3 : 0;
    Command4.Caption("unterbrechen");
    Tone.Clear();
    TellEmpty("Bild gelöscht.");
}

// The tone: on and off. The caption names what a click does, as that of
// Command4 does.
void Form1::Command7_Click()
{
    const bool on = !Tone.Playing();
    if (Tone.Playing(on) != on)
        return;
    Command7.Caption(on ? "Ton aus" : "Ton an");
    TellTone(on ? "Ton an." : "Ton aus.");
}

void Form1::ToneLost()
{
    Command7.Caption("Ton an");
    if (!Tone.Available()) {
        Command7.Enabled(false);
        Command7.Description("Kein Audiogerät gefunden");
        TellTone("Ton aus: Kein Audiogerät gefunden.");
        return;
    }
    TellTone("Ton aus: Die Tonausgabe ist nicht mehr erreichbar.");
}

// Delay stays a function of its own, not copied into the sweeps: they
// sleep inside the browser and so carry Asyncify's bookkeeping, and there
// WebKit runs the copied loop some 5 % slower than the loop on its own.
[[gnu::noinline]] void Form1::Delay()
{
    DelayCount = 1;
    do {
        DelayValue = CSng(plot::Sin(double(DelayCount)));
        DelayCount = plot::AddInteger(DelayCount, 1);
    } while (DelayCount <= 10000);
}

#pragma once
// The window of the Fourier synthesis viewer: a plot area with six buttons,
// and a seventh that lets the sum curve be heard as a tone. Every handler
// works through the form-level variables below.
#include <string>

#include "plot/button.h"
#include "plot/numeric.h"
#include "plot/picture.h"
#include "plot/sound.h"
#include "plot/types.h"
#include "plot/window.h"

class Form1 {
public:
    using Integer = plot::Integer;
    using Single = plot::Single;
    using SumTable = plot::CheckedArray<double, 0, 2500>;

    Form1();

    plot::Window Me;
    plot::Picture Picture1;
    plot::Button Command1; // "Start Rechteck"
    plot::Button Command2; // "Start Sägezahn"
    plot::Button Command3; // "Ordnungen aufaddieren"
    plot::Button Command4; // "unterbrechen" / "weiter"
    plot::Button Command5; // "Ende"
    plot::Button Command6; // "Löschen"
    plot::Button Command7; // "Ton an" / "Ton aus"
    // The sum curve as a tone: its harmonics follow the picture's sum.
    plot::SumTone Tone;

    // Form-level variables.
    Integer CurveMode = 0; // 0 none, 1 square wave, 2 sawtooth
    Integer RunState = 0;  // 0 running, 1 paused, 3 clear request
    Single PlotX = 0;
    Single BaseY = 0;
    Integer Order = 0;
    SumTable PartialSum;
    SumTable NextSum;
    Integer DelayCount = 0;
    Single DelayValue = 0;
    // How many adding-up runs are in progress, nested ones included.
    Integer ActiveRuns = 0;
    // Runs nest inside each other's event pumps; beyond this depth a
    // further click on "Ordnungen aufaddieren" is ignored, so that the
    // stack cannot overflow however often the button is hit.
    static constexpr Integer MaxNestedRuns = 64;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    void Delay();

private:
    // One sweep step: the next column, 0.01 to the right.
    void NextColumn();
    // The table index of the current column.
    plot::Long Column() const;
    // (Sin(k x) + 1) / k at the current column.
    double Term(Integer k) const;
    // BaseY + the term of order k, as a 32-bit float.
    Single StripTop(Integer k) const;
    void DrawStripLine(Integer k);
    void DrawStripLine(Integer k, plot::Colour colour);
    void DrawIncrementLine();
    void DrawSumBar();
    // The building blocks of the adding-up run. Each returns false when a
    // clear request ends the run.
    [[nodiscard]] bool AbortTest() const;
    [[nodiscard]] bool SweptPastTheEnd() const;
    [[nodiscard]] bool PauseWait();
    void OrderAdvance(Integer step);
    void RefillSweep();
    void HighlightSweep();
    [[nodiscard]] bool FirstAddingSweep(bool sawtooth);
    void PreparationSweep();
    [[nodiscard]] bool SlowAddingSweep();
    [[nodiscard]] bool FastAddingSweep();
    [[nodiscard]] bool AnimateSquareWave();
    [[nodiscard]] bool AnimateSawtooth();
    // The base of the next strip: 2 / k above the current one.
    void StepBase(Integer k);

    // What a screen reader is told of the picture (form1_telling.cpp): the
    // texts are made once per state or order, never per column.
    void TellEmpty(const char* announcement);
    void TellStrips();
    void TellAdding(bool fastPhase);
    void TellHeld();
    void TellResumed();
    void TellFinished();
    // The sound switched on or off, or its output lost.
    void TellTone(const char* announcement);
    void ToneLost();
    // Describe, with a sentence on the tone while a sum sounds.
    void Tell(const std::string& description, const std::string& announcement, plot::Pace pace = plot::Pace::Always);
    // The picture's description without that sentence.
    std::string toldPicture;
};

// What a screen reader says of the picture, in words for a student: the
// picture's description, replaced as the picture changes, and a short
// announcement of each change.
#include <string>

#include "form1.h"

namespace {

using std::to_string;

// The orders a run adds: every odd one up to 103 for the square wave,
// every one up to 100 for the sawtooth.
struct Curve {
    const char* name;
    const char* shape;
    int step;
    int lastOrder;
    int lastSlowOrder;
};

constexpr Curve squareWave { "Rechteckschwingung", "Rechteckform: flach oben und unten, mit senkrechten Sprüngen", 2,
    103, 7 };
constexpr Curve sawtooth { "Sägezahnschwingung",
    "Sägezahnform: gleichmäßig fallende Geraden, die am Ende jeder Periode senkrecht nach oben springen", 1, 100, 6 };

const Curve& curveOf(plot::Integer curveMode)
{
    return curveMode == 2 ? sawtooth : squareWave;
}

// "2 Ordnungen, 1 bis 3": the orders already in the sum curve while the
// given one is being added.
std::string ordersBelow(const Curve& curve, int order)
{
    const int count = (order - 1) / curve.step;
    if (count <= 1)
        return "nur Ordnung 1";
    return to_string(count) + " Ordnungen, 1 bis " + to_string(order - curve.step);
}

// The description while an order is being added.
std::string addingDescription(const Curve& curve, int order, bool fastPhase)
{
    if (fastPhase)
        return "Schnelle Phase: Ordnung " + to_string(order) + " wird addiert; die Summenkurve enthält schon "
            + ordersBelow(curve, order) + ". Die übrigen Ordnungen bis " + to_string(curve.lastOrder)
            + " folgen zügig.";
    return "Langsame Phase, Spalte für Spalte zum Mitverfolgen: Ordnung " + to_string(order)
        + " verlässt ihr Band, das dabei weiß wird, und wird magentafarben auf die Summenkurve gesetzt. "
          "Die Summenkurve enthält schon "
        + ordersBelow(curve, order) + ".";
}

} // namespace

void Form1::TellEmpty(const char* announcement)
{
    Tell("Das Bild ist leer. „Start Rechteck“ zeichnet die Harmonischen der Rechteckschwingung, "
                      "„Start Sägezahn“ die der Sägezahnschwingung; „Ordnungen aufaddieren“ addiert sie danach "
                      "Ordnung für Ordnung zur Summenkurve.",
        announcement);
}

void Form1::TellStrips()
{
    const bool square = CurveMode == 1;
    const std::string count = square ? "21" : "100";
    const std::string curve = curveOf(CurveMode).name;
    Tell("Die " + count + " Harmonischen der " + curve
            + (square ? ", Ordnungen 1, 3, 5 bis 41," : ", Ordnungen 1 bis 100,")
            + " als übereinandergestapelte Bänder, unten Ordnung 1. Jede ist eine Sinuskurve mit der Amplitude "
              "1/n: je höher die Ordnung n, desto flacher und dichter."
            + (square ? "" : " Die Bänder ab Ordnung 32 liegen oberhalb des Bildes.")
            + " Das unterste Band, Ordnung 1, ist zugleich der Anfang der Summenkurve.",
        "Die " + count + " Harmonischen der " + curve + " sind gezeichnet.");
}

// The announcements are short, to be spoken before the next one comes:
// the slow phase adds an order about every half second on a fast machine.
// The fast phase is told as it begins, then as it goes on at the pace a
// screen reader can follow.
void Form1::TellAdding(bool fastPhase)
{
    const Curve& curve = curveOf(CurveMode);
    const std::string order = to_string(Order);
    if (!fastPhase)
        Tell(addingDescription(curve, Order, false), "Ordnung " + order + " wird addiert.");
    else if (Order == curve.lastSlowOrder + curve.step)
        Tell(addingDescription(curve, Order, true), "Schnelle Phase bis Ordnung " + to_string(curve.lastOrder) + ".",
            plot::Pace::Always);
    else
        Tell(addingDescription(curve, Order, true), "Ordnung " + order + " erreicht.", plot::Pace::Progress);
}

void Form1::TellHeld()
{
    const std::string order = to_string(Order);
    Tell("Angehalten bei Ordnung " + order + "; die Summenkurve enthält schon "
            + ordersBelow(curveOf(CurveMode), Order) + ". „weiter“ setzt das Aufaddieren fort.",
        "Angehalten bei Ordnung " + order + ".");
}

void Form1::TellResumed()
{
    const Curve& curve = curveOf(CurveMode);
    Tell(addingDescription(curve, Order, Order > curve.lastSlowOrder),
        "Weiter bei Ordnung " + to_string(Order) + ".");
}

void Form1::TellFinished()
{
    const Curve& curve = curveOf(CurveMode);
    const std::string last = to_string(curve.lastOrder);
    const std::string count = to_string((curve.lastOrder - 1) / curve.step + 1);
    Tell("Fertig: Die Summenkurve enthält alle " + count + " Ordnungen bis " + last
            + ", oben magentafarben die zuletzt addierte; die Bänder darüber sind gelöscht. Sie nähert sich der "
            + curve.shape
            + ". An jedem Sprung schießt sie um etwa 9 Prozent der Sprunghöhe über; dieses Überschwingen bleibt, "
              "wie viele Ordnungen man auch addiert (gibbssches Phänomen).",
        "Fertig.");
}

void Form1::Tell(const std::string& description, const std::string& announcement, plot::Pace pace)
{
    toldPicture = description;
    const bool sounding = Tone.Playing() && CurveMode != 0;
    Picture1.Describe(sounding ? description + " Man hört die Summenkurve als Ton." : description, announcement, pace);
}

void Form1::TellTone(const char* announcement)
{
    Tell(toldPicture, announcement);
}

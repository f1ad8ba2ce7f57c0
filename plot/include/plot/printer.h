#pragma once
// The default printer as a drawing surface: a user scale over the page's
// printable area, straight lines, and the end of the document.
//
// The first Line of a document begins it on the system's default printer
// (A4 portrait, the printer's minimum margins); EndDoc sends it. Without a
// usable printer, or when the printer fails, a run-time error is raised.
#include <vector>

#include "plot/picture.h"
#include "plot/types.h"

namespace plot {

class PrinterSurface {
public:
    // 1: twips over the printable area, origin at its top left, y down.
    void ScaleMode(Integer mode);
    void ScaleLeft(Single v);
    void ScaleTop(Single v);
    void ScaleWidth(Single v);
    void ScaleHeight(Single v);

    // A one-device-pixel line in the printer's foreground colour, clipped
    // to the printable area.
    void Line(Single x1, Single y1, Single x2, Single y2);

    // Ends the document begun by the first Line and hands it to the
    // printer. Without a document it does nothing.
    void EndDoc();
};

// The program's printer.
PrinterSurface& Printer();

// One call made on the printer, for tests.
struct PrinterCall {
    enum class Kind { ScaleMode, ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight, Line, EndDoc };
    Kind kind;
    double value; // the property written; 0 for Line and EndDoc
    RecordedLine line;
    bool operator==(const PrinterCall&) const = default;
};

} // namespace plot

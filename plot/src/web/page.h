#pragma once
// The page around the program: what the browser backend asks of the
// page's script (page.js). Sizes are CSS pixels unless said otherwise.
// The functions that suspend the program are imported under the names
// that mark them asynchronous for Asyncify.
#include <cstdint>

#include <emscripten/em_macros.h>

extern "C" {

// The viewport the form must fit into.
int plot_page_viewport_width();
int plot_page_viewport_height();

// The form as designed, in twips: its caption (the page title), client
// size, the part of it that must fit on the screen, and its font. The
// page lays it out (layout.js), now and at every change of the viewport.
void plot_page_form(const char* caption, double width, double height, double fitWidth, double fitHeight,
    double fontPoints, const char* fontFamily, int bold);
void plot_page_form_width(double width);
void plot_page_show_form();

// A button and a picture, each with an id of the backend's, placed in
// twips.
void plot_page_button(int id, const char* caption, double left, double top, double width, double height,
    int tabIndex, double fontPoints, const char* fontFamily, int bold);
void plot_page_button_enabled(int id, int enabled);
void plot_page_button_caption(int id, const char* caption);
void plot_page_picture(int id, double left, double top, double width, double height, int tabIndex);
void plot_page_picture_geometry(int id, double left, double width);
// The device pixels of a picture's interior as the page last laid it out.
int plot_page_picture_device_width(int id);
int plot_page_picture_device_height(int id);
// Changes with every layout that changed a picture's pixels.
int plot_page_layout_serial();

// For the page's layout: the twips to the CSS pixel at which the designed
// part fitWidth by fitHeight fits a viewport, by the desktop's rule.
EMSCRIPTEN_KEEPALIVE double plot_page_fit_twips_per_pixel(int viewportWidth, int viewportHeight, double fitWidth,
    double fitHeight);
// What a screen reader says of a picture: its name, and its description
// with a polite announcement of the change.
void plot_page_picture_name(int id, const char* name);
void plot_page_picture_description(int id, const char* description, const char* announcement);

// Copies the changed rectangle (device pixels, inclusive) of a picture's
// pixels, RGBA, width pixels a row, onto its canvas.
void plot_page_present(int id, const std::uint32_t* pixels, int width, int height, int x1, int y1, int x2, int y2);

// Whether a handler runs (the form is busy) or the program waits for a
// click.
void plot_page_busy(int busy);

// The next click the page has queued: a button id, or -1 for none.
int plot_page_next_click();
int plot_page_clicks_waiting();

// Until when (performance.now()'s milliseconds) a running program may
// work before it gives the browser control for the next frame.
double plot_page_work_until();
// Gives the browser control: it paints its next frame and takes input,
// then the program goes on (a task later). Suspends the program
// (Asyncify).
void plot_page_yield() EM_IMPORT(__asyncjs__plot_page_yield);
// Suspends the program until the page has queued input or laid itself
// out anew.
void plot_page_wait_for_input() EM_IMPORT(__asyncjs__plot_page_wait_for_input);

// A modal dialog with the error's message; returns once it is closed.
void plot_page_error_dialog(const char* title, const char* message) EM_IMPORT(__asyncjs__plot_page_error_dialog);
// The program has ended: the form goes, the page says so.
void plot_page_program_ended(int status);

// The program's lesson is done, for a learning platform around the page.
void plot_page_lesson_completed();

// Links the page's functions into the program.
void plot_page_link();

// The print page: an SVG document, shown only in print, then the
// browser's print.
void plot_page_print(const char* svg);
}

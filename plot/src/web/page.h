#pragma once
// The page around the program: what the browser backend asks of the
// page's script (page.js). Sizes are CSS pixels unless said otherwise.
// The functions that suspend the program are imported under the names
// that mark them asynchronous for Asyncify.
#include <cstdint>

#include <emscripten/em_macros.h>

extern "C" {

// The viewport the form must fit into, and the device pixel ratio.
int plot_page_viewport_width();
int plot_page_viewport_height();
double plot_page_device_pixel_ratio();

// The form: its caption (the page title) and client size.
void plot_page_form(const char* caption, int width, int height, double fontPx, const char* fontFamily, int bold);
void plot_page_form_width(int width);
void plot_page_show_form();

// A button and a picture, each with an id of the backend's.
void plot_page_button(int id, const char* caption, int left, int top, int width, int height, int tabIndex,
    double fontPx, const char* fontFamily, int bold);
void plot_page_button_enabled(int id, int enabled);
void plot_page_button_caption(int id, const char* caption);
void plot_page_picture(int id, int left, int top, int width, int height, int tabIndex, int deviceWidth,
    int deviceHeight);
void plot_page_picture_geometry(int id, int left, int width, int deviceWidth);
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

// Gives the browser control: it paints and takes input, then the program
// goes on (a task later). Suspends the program (Asyncify).
void plot_page_yield() EM_IMPORT(__asyncjs__plot_page_yield);
// Suspends the program until the page has queued input.
void plot_page_wait_for_input() EM_IMPORT(__asyncjs__plot_page_wait_for_input);

// A modal dialog with the error's message; returns once it is closed.
void plot_page_error_dialog(const char* title, const char* message) EM_IMPORT(__asyncjs__plot_page_error_dialog);
// The program has ended: the form goes, the page says so.
void plot_page_program_ended(int status);

// Links the page's functions into the program.
void plot_page_link();

// The print page: an SVG document, shown only in print, then the
// browser's print.
void plot_page_print(const char* svg);
}

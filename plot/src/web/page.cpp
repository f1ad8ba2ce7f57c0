// The bridge to the page's script: each function hands over to Page in
// page.js. The two that suspend the program are asynchronous imports:
// Asyncify unwinds the program's stack while the browser runs, and winds
// it back when the page's promise is kept.
#include "page.h"

#include <emscripten.h>

EM_JS(int, plot_page_viewport_width, (), { return Page.viewportWidth(); });
EM_JS(int, plot_page_viewport_height, (), { return Page.viewportHeight(); });

EM_JS(void, plot_page_form, (const char* caption, double width, double height, double fitWidth, double fitHeight, double fontPoints, const char* fontFamily, int bold), {
    Page.form(UTF8ToString(caption), width, height, fitWidth, fitHeight, fontPoints, UTF8ToString(fontFamily), bold);
});
EM_JS(void, plot_page_form_width, (double width), { Page.formWidth(width); });
EM_JS(void, plot_page_show_form, (), { Page.showForm(); });

EM_JS(void, plot_page_button, (int id, const char* caption, double left, double top, double width, double height, int tabIndex, double fontPoints, const char* fontFamily, int bold), {
    Page.button(id, UTF8ToString(caption), left, top, width, height, tabIndex, fontPoints, UTF8ToString(fontFamily), bold);
});
EM_JS(void, plot_page_button_enabled, (int id, int enabled), { Page.buttonEnabled(id, enabled); });
EM_JS(void, plot_page_button_caption, (int id, const char* caption), { Page.buttonCaption(id, UTF8ToString(caption)); });
EM_JS(void, plot_page_picture, (int id, double left, double top, double width, double height, int tabIndex), {
    Page.picture(id, left, top, width, height, tabIndex);
});
EM_JS(void, plot_page_picture_geometry, (int id, double left, double width), {
    Page.pictureGeometry(id, left, width);
});
EM_JS(int, plot_page_picture_device_width, (int id), { return Page.pictureDeviceWidth(id); });
EM_JS(int, plot_page_picture_device_height, (int id), { return Page.pictureDeviceHeight(id); });
EM_JS(int, plot_page_layout_serial, (), { return Page.layoutSerial; });
EM_JS(void, plot_page_picture_name, (int id, const char* name), { Page.pictureName(id, UTF8ToString(name)); });
EM_JS(void, plot_page_picture_description, (int id, const char* description, const char* announcement), {
    Page.pictureDescription(id, UTF8ToString(description), UTF8ToString(announcement));
});
EM_JS(void, plot_page_present, (int id, const std::uint32_t* pixels, int width, int height, int x1, int y1, int x2, int y2), {
    Page.present(id, pixels, width, height, x1, y1, x2, y2);
});
EM_JS(void, plot_page_busy, (int busy), { Page.setBusy(busy); });
EM_JS(int, plot_page_next_click, (), { return Page.nextClick(); });
EM_JS(int, plot_page_clicks_waiting, (), { return Page.clicksWaiting(); });
EM_JS(double, plot_page_work_until, (), { return Page.workUntil(); });
EM_ASYNC_JS(void, plot_page_yield, (), { await Page.yieldToBrowser(); });
EM_ASYNC_JS(void, plot_page_wait_for_input, (), { await Page.waitForInput(); });
EM_ASYNC_JS(void, plot_page_error_dialog, (const char* title, const char* message), {
    await Page.errorDialog(UTF8ToString(title), UTF8ToString(message));
});
EM_JS(void, plot_page_program_ended, (int status), { Page.programEnded(status); });
EM_JS(void, plot_page_lesson_completed, (), { Page.lessonCompleted(); });
EM_JS(void, plot_page_print, (const char* svg), { Page.print(UTF8ToString(svg)); });

// The definitions above are data for the linker, not code a call would
// pull in from the library: the program's start calls this to bring them.
void plot_page_link() { }

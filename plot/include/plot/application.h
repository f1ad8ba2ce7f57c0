#pragma once
// The program's start: the toolkit, then the window's load, show and
// event loop.
#include <memory>
#include <string>

namespace plot {

class Window;

class Application {
public:
    // name: the program's name; desktopId: the name of its desktop entry
    // (without ".desktop"), by which the desktop finds its icon.
    Application(int& argc, char** argv, const std::string& name, const std::string& desktopId);
    ~Application();
    // Loads and shows the window, then handles events until the program
    // ends; returns the exit status.
    int Run(Window& window);

private:
    struct Toolkit;
    std::unique_ptr<Toolkit> toolkit_;
};

// Every text the user sees is German, also those the toolkit draws itself
// (standard buttons of message boxes and dialogs): installs the toolkit's
// German translation whatever the system's locale is. False when the
// translation is not installed (the toolkit's texts stay English).
bool UseGermanToolkitTexts();

// The program has done what its lesson asks (a complete run, the strips
// drawn). A learning platform that shows the browser page records the
// attempt as completed; elsewhere nothing happens.
void LessonCompleted();

} // namespace plot

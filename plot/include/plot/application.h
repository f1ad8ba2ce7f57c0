#pragma once
// The program's start: the toolkit, then the window's load, show and
// event loop.
#include <memory>
#include <string>

namespace plot {

class Window;

class Application {
public:
    Application(int& argc, char** argv, const std::string& name);
    ~Application();
    // Loads and shows the window, then handles events until the program
    // ends; returns the exit status.
    int Run(Window& window);

private:
    struct Toolkit;
    std::unique_ptr<Toolkit> toolkit_;
};

} // namespace plot

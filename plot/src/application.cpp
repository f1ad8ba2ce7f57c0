#include "plot/application.h"

#include <QApplication>

#include "plot/window.h"
#include "runtime.h"
#include "termination.h"

namespace plot {

struct Application::Toolkit {
    Toolkit(int& argc, char** argv)
        : app(argc, argv)
    {
    }
    QApplication app;
};

Application::Application(int& argc, char** argv, const std::string& name)
    : toolkit_(std::make_unique<Toolkit>(argc, argv))
{
    QApplication::setApplicationName(QString::fromStdString(name));
    detail::EndOnTerminationSignals();
}

Application::~Application() = default;

int Application::Run(Window& window)
{
    detail::Runtime& rt = detail::runtime();
    window.Load();
    if (rt.ending)
        return rt.exitCode;
    window.Show();
    const int status = QApplication::exec();
    return rt.ending ? rt.exitCode : status;
}

} // namespace plot

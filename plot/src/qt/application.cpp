#include "plot/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

Application::Application(int& argc, char** argv, const std::string& name, const std::string& desktopId)
    : toolkit_(std::make_unique<Toolkit>(argc, argv))
{
    QApplication::setApplicationName(QString::fromStdString(name));
    QGuiApplication::setDesktopFileName(QString::fromStdString(desktopId));
    UseGermanToolkitTexts();
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

bool UseGermanToolkitTexts()
{
    static QTranslator* installed = nullptr;
    if (installed)
        return true;
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

// The desktop has no learning platform to tell.
void LessonCompleted() { }

} // namespace plot

// The Qt side of the program-wide runtime.
#include "runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

#include "picture_widget.h"

namespace plot::detail {

void DefaultReporter(const RuntimeError& error)
{
    const QString title = QApplication::applicationDisplayName();
    const QString text = QStringLiteral("Laufzeitfehler '%1':\n\n%2")
                             .arg(error.number())
                             .arg(QString::fromStdString(error.description()));
    // Also into the log, for whoever started the program from a terminal.
    std::fprintf(stderr, "%s\n", error.message().c_str());
    QMessageBox::critical(nullptr, title, text);
}

void HideWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
}

void LeaveEventLoop(int exitCode)
{
    QCoreApplication::exit(exitCode);
}

void PresentPictures(bool now)
{
    Runtime& rt = runtime();
    for (PictureWidget* p : rt.pictures)
        p->present(now);
    rt.lastPresent = std::chrono::steady_clock::now();
}

} // namespace plot::detail

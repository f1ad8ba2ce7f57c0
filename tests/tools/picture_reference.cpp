// What the desktop draws: a program's window on the offscreen platform,
// its picture given the interior size of another one (a browser's canvas),
// the buttons clicked in order; then the picture's pixels, RGBA bytes row
// by row, into a file. The browser tests compare their canvas with it.
//
// usage: picture_reference_wavesum WIDTH HEIGHT OUT ACTION...
//   ACTION: a button's caption; a run started by one ends before the next.
#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

#include "form1.h"
#include "picture_widget.h"
#include "plot/runtime_error.h"
#include "plot/testing.h"
#include "widgets.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUT ACTION...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only this tool's own messages: none of the offscreen platform's notes.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    plot::SetErrorReporter([](const plot::RuntimeError& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        std::exit(1);
    });
    Form1 form;
    form.Me.Load();

    plot::PictureWidget* picture = form.Picture1.widget();
    const int frame = picture->width() - picture->contentsRect().width();
    picture->resize(std::atoi(argv[1]) + frame, std::atoi(argv[2]) + frame);
    picture->rebuildImage();

    for (int i = 4; i < argc; ++i) {
        bool found = false;
        for (auto* b : form.Me.widget()->findChildren<plot::ButtonWidget*>())
            if (b->text() == QString::fromUtf8(argv[i])) {
                b->click();
                found = true;
            }
        if (!found) {
            std::fprintf(stderr, "no button '%s'\n", argv[i]);
            return 2;
        }
    }
    const plot::detail::Raster& raster = picture->core.raster;
    QFile out(QString::fromLocal8Bit(argv[3]));
    if (!out.open(QIODevice::WriteOnly))
        return 2;
    out.write(reinterpret_cast<const char*>(raster.pixels()), qint64(raster.width()) * raster.height() * 4);
    return 0;
}

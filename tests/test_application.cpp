// What the program's start sets up before the window: its desktop file
// name (Wayland compositors find the icon by it), Qt's German texts, and
// the window titles without Qt's application name appended.
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

#include "plot/application.h"

class ProgramStart : public QObject {
    Q_OBJECT
private slots:
    void desktopFileNameAndGermanTexts()
    {
        QCOMPARE(QGuiApplication::desktopFileName(), QString("de.wellenlehre.wavesum"));
        QCOMPARE(QCoreApplication::applicationName(), QString("wavesum"));
        QVERIFY(QGuiApplication::applicationDisplayName().isEmpty()
            || QGuiApplication::applicationDisplayName() == QCoreApplication::applicationName());
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Abbrechen"));
    }
};

int main(int argc, char** argv)
{
    plot::Application app(argc, argv, "wavesum", "de.wellenlehre.wavesum");
    ProgramStart test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_application.moc"

// The texts Qt draws itself come out German with the programs' translator,
// whatever the system's locale (the test runs under an English one). The
// labels depend on the platform theme: the generic one has no mnemonics
// ("Cancel"), the GNOME one has ("&Cancel"); CANCEL_EN and CANCEL_DE give
// the theme's English and German label.
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "plot/application.h"

namespace {

QString fromEnv(const char* name, const char* fallback)
{
    const QByteArray v = qgetenv(name);
    return QString::fromUtf8(v.isEmpty() ? QByteArray(fallback) : v);
}

QString cancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

} // namespace

class ToolkitTexts : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsAreGermanUnderAnEnglishLocale()
    {
        QCOMPARE(QLocale::system().language(), QLocale::English);
        const QString english = fromEnv("CANCEL_EN", "Cancel"), german = fromEnv("CANCEL_DE", "Abbrechen");
        QCOMPARE(cancelText(), english);

        QVERIFY2(plot::UseGermanToolkitTexts(), "the toolkit's German translation is not installed");
        QCOMPARE(cancelText(), german);
        QMessageBox box(QMessageBox::Critical, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), german);
        QCOMPARE(QLocale().language(), QLocale::German);
        // A second call keeps the one translator.
        QVERIFY(plot::UseGermanToolkitTexts());
        QCOMPARE(cancelText(), german);
    }
};

QTEST_MAIN(ToolkitTexts)
#include "test_toolkit_texts.moc"

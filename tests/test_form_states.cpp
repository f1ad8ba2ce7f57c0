// The window after load, its buttons and state through every click, the
// busy delay, and the run-time error path.
#include <QScreen>
#include <QtTest>
#include <cmath>

#include "form_fixture.h"
#include "plot/numeric.h"
#include "plot/twips.h"
#include "widgets.h"

using plot::Integer;

namespace {
void click(plot::Button& b)
{
    b.widget()->click();
}
bool allWhite(const QImage& img)
{
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            if (img.pixel(x, y) != white)
                return false;
    return true;
}
} // namespace

class FormStates : public QObject {
    Q_OBJECT
private slots:
    void windowAfterLoad()
    {
        LoadedForm f;
        const double tpp = plot::TwipsPerPixel();
        QCOMPARE(QString::fromStdString(f->Me.Caption()).left(43), QString("Fouriersynthese der Rechteck-/Sägezahnkurve"));
        // 10 twips narrower than the screen, as whole pixels.
        QVERIFY(std::fabs(f->Me.Width() - (plot::Screen.Width() - 10)) <= tpp / 2 + 1e-3);
        QCOMPARE(f->Me.widget()->pos(), QPoint(0, 0));
        QVERIFY(std::fabs(f->Picture1.Left() - 100) <= tpp / 2);
        QVERIFY(std::fabs(f->Picture1.Width() - 0.98 * f->Me.Width()) <= tpp / 2 + 1e-3);
        QCOMPARE(f->Picture1.ScaleWidth(), 25.0f);
        QCOMPARE(f->Picture1.ScaleLeft(), 0.0f);
        QCOMPARE(f->Picture1.ScaleTop(), 0.0f);
        QVERIFY(f->Picture1.ScaleHeight() > 0); // twips, y down
        QCOMPARE(f->CurveMode, Integer(0));
        QCOMPARE(f->RunState, Integer(0));
        for (plot::Button* b : { &f->Command1, &f->Command2, &f->Command3, &f->Command4, &f->Command5, &f->Command6 })
            QVERIFY(b->Enabled());
        QCOMPARE(f->Command2.Caption(), std::string("Start Sägezahn"));
        QCOMPARE(f->Command6.Caption(), std::string("Löschen"));
    }

    void tabOrderIsTheDesignedOne()
    {
        LoadedForm f;
        f->Me.Show();
        const std::vector<QWidget*> expected { f->Command2.widget(), f->Command4.widget(), f->Command5.widget(),
            f->Command1.widget(), f->Command3.widget(), f->Picture1.widget(), f->Command6.widget(),
            f->Command7.widget() };
        QWidget* w = expected[0];
        for (size_t i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            QCOMPARE(w, expected[i]);
        }
    }

    // No sound server to reach (the tests' environment): the window works
    // as without the tone, whose button is disabled and tells why.
    void withoutAudioTheToneButtonIsDisabled()
    {
        QVERIFY(qEnvironmentVariableIsSet("PULSE_SERVER"));
        LoadedForm f;
        QVERIFY(!f->Tone.Available());
        QVERIFY(!f->Command7.Enabled());
        QCOMPARE(f->Command7.Caption(), std::string("Ton an"));
        QCOMPARE(f->Command7.widget()->accessibleDescription(), QString("Kein Audiogerät gefunden"));
        QCOMPARE(f->Command7.widget()->geometry().left(), qRound(12735 / plot::TwipsPerPixel()));
        QVERIFY(!f->Tone.Playing(true));
        click(f->Command1);
        QCOMPARE(f->CurveMode, Integer(1));
        QVERIFY(!f->Tone.Playing());
        QVERIFY(!QString::fromStdString(f->Picture1.Description()).contains("Ton"));
    }

    void startButtonsLockEachOtherUntilCleared()
    {
        LoadedForm f;
        click(f->Command1);
        QCOMPARE(f->CurveMode, Integer(1));
        QVERIFY(f->Command1.Enabled());
        QVERIFY(!f->Command2.Enabled());
        click(f->Command2); // disabled: no effect
        QCOMPARE(f->CurveMode, Integer(1));

        click(f->Command6);
        QCOMPARE(f->CurveMode, Integer(0));
        QVERIFY(f->Command1.Enabled() && f->Command2.Enabled());
        QVERIFY(allWhite(f.image()));
        // The scale of the last start button stays, and so do the variables.
        QCOMPARE(f->Picture1.ScaleTop(), 5.0f);
        QCOMPARE(f->Picture1.ScaleHeight(), -5.0f);
        QCOMPARE(f->Order, Integer(41));

        click(f->Command2);
        QCOMPARE(f->CurveMode, Integer(2));
        QVERIFY(!f->Command1.Enabled());
        QCOMPARE(f->Picture1.ScaleTop(), 8.0f);
    }

    void pauseToggleFollowsTheTable()
    {
        LoadedForm f;
        click(f->Command4);
        QCOMPARE(f->RunState, Integer(1));
        QCOMPARE(f->Command4.Caption(), std::string("weiter"));
        click(f->Command1); // start buttons leave RunState alone
        QCOMPARE(f->RunState, Integer(1));
        click(f->Command4);
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
    }

    void clearWithoutARunLeavesNoRequestBehind()
    {
        LoadedForm f;
        click(f->Command4);
        click(f->Command6);
        QCOMPARE(f->RunState, Integer(0));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
        click(f->Command4);
        QCOMPARE(f->RunState, Integer(1));
    }

    void clearDuringARunRequestsItsEnd()
    {
        LoadedForm f;
        f->ActiveRuns = 1;
        click(f->Command4);
        click(f->Command6);
        QCOMPARE(f->RunState, Integer(3));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
        click(f->Command4);
        QCOMPARE(f->RunState, Integer(-2));
        QCOMPARE(f->Command4.Caption(), std::string("unterbrechen"));
        click(f->Command4);
        QCOMPARE(f->RunState, Integer(3));
        click(f->Command1);
        QCOMPARE(f->RunState, Integer(3));
    }

    void delayComputesTenThousandSines()
    {
        LoadedForm f;
        const auto before = plot::SinCount();
        f->Delay();
        QCOMPARE(plot::SinCount() - before, std::uint64_t(10000));
        QCOMPARE(f->DelayCount, Integer(10001));
        QCOMPARE(f->DelayValue, float(std::sin(10000.0)));
    }

    void endStopsEverything()
    {
        LoadedForm f;
        f->Me.Show();
        click(f->Command5);
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 0);
        QVERIFY(!f->Me.widget()->isVisible());
        click(f->Command1); // no handler runs any more
        QCOMPARE(f->CurveMode, Integer(0));
        QVERIFY(f.errors.empty());
    }

    void overflowIsReportedAndEndsTheProgram()
    {
        LoadedForm f;
        f->RunState = -32768;
        click(f->Command4);
        QCOMPARE(f.errors.size(), size_t(1));
        QCOMPARE(QString::fromStdString(f.errors[0]), QString("Laufzeitfehler '6': Überlauf"));
        QVERIFY(plot::testing::ProgramEnded());
        QVERIFY(plot::testing::ExitCode() != 0);
        QCOMPARE(f->RunState, Integer(-32768));
        click(f->Command4);
        QCOMPARE(f.errors.size(), size_t(1));
    }

    void indexOutOfRangeStopsTheHandlerBeforeTheAccess()
    {
        LoadedForm f;
        bool after = false;
        f->Command3.OnClick([&] {
            f->PartialSum(2501) = 1;
            after = true;
        });
        click(f->Command3);
        QVERIFY(!after);
        QCOMPARE(QString::fromStdString(f.errors.at(0)),
            QString("Laufzeitfehler '9': Index außerhalb des gültigen Bereichs"));
        QVERIFY(plot::testing::ExitCode() != 0);
    }
};

QTEST_MAIN(FormStates)
#include "test_form_states.moc"

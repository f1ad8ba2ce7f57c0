// A termination request from outside (SIGTERM, SIGINT, SIGHUP) ends the
// program as its close box does, at the next event pump, with status
// 128 + signal; a second request while the first waits takes the signal's
// default action.
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "plot/application.h"
#include "plot/events.h"
#include "plot/testing.h"
#include "runtime.h"

class Termination : public QObject {
    Q_OBJECT
private slots:
    void init() { plot::testing::ResetRuntime(); }

    void whileIdleTheProgramEndsWithTheSignalsStatus_data()
    {
        QTest::addColumn<int>("signo");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void whileIdleTheProgramEndsWithTheSignalsStatus()
    {
        QFETCH(int, signo);
        raise(signo);
        QVERIFY(!plot::testing::ProgramEnded()); // nothing happens in the signal handler itself
        QCoreApplication::processEvents();
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 128 + signo);
    }

    void insideAHandlerTheNextPumpUnwindsIt()
    {
        int pumpsAfter = 0;
        plot::detail::RunHandler([&] {
            raise(SIGTERM);
            for (int i = 0; i < 1000; ++i) {
                plot::DoEvents();
                ++pumpsAfter;
            }
        });
        QVERIFY(plot::testing::ProgramEnded());
        QCOMPARE(plot::testing::ExitCode(), 143);
        // The poll for input comes at most a millisecond apart: a few pumps
        // may pass before the request is read, never the whole loop.
        QVERIFY(pumpsAfter < 1000);
    }

    void aSecondRequestWhileTheFirstWaitsKillsTheProgram()
    {
        const pid_t child = fork();
        if (child == 0) {
            // No pump reads the first request: the second one must end
            // the process by the signal itself.
            raise(SIGTERM);
            raise(SIGTERM);
            _exit(0);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGTERM);
        // The child's first request went into the pipe both share.
        plot::testing::ResetRuntime();
        QCoreApplication::processEvents();
        QVERIFY(!plot::testing::ProgramEnded());
    }
};

int main(int argc, char** argv)
{
    plot::Application app(argc, argv, "wavesum", "de.wellenlehre.wavesum");
    Termination test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_termination.moc"

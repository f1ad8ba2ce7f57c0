#include "termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "runtime.h"

namespace plot::detail {

namespace {

// Self-pipe: the signal handler only writes the signal's number, the
// event loop reads it.
int pipeEnds[2] = { -1, -1 };

volatile sig_atomic_t requests = 0;

extern "C" void onTerminationSignal(int signo)
{
    // A second request means the first could not be carried out (a
    // handler that does not pump): the signal's own action then applies.
    requests = requests + 1;
    if (requests > 1) {
        signal(signo, SIG_DFL);
        raise(signo);
        return;
    }
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

void endFromSignal()
{
    unsigned char byte = 0;
    if (::read(pipeEnds[0], &byte, 1) != 1)
        return;
    Runtime& rt = runtime();
    BeginEnd(128 + byte);
    // Inside a handler the event pump that delivered this unwinds it;
    // otherwise the event loop is left here.
    if (rt.handlerDepth == 0)
        QCoreApplication::exit(rt.exitCode);
}

} // namespace

void ForgetTerminationRequests()
{
    requests = 0;
    unsigned char byte = 0;
    if (pipeEnds[0] >= 0)
        while (::read(pipeEnds[0], &byte, 1) == 1) {
        }
}

void EndOnTerminationSignals()
{
    if (pipeEnds[0] >= 0)
        return;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default action
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { endFromSignal(); });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : { SIGTERM, SIGINT, SIGHUP }) {
        // A signal ignored at start (nohup, a background job) stays ignored.
        struct sigaction previous = {};
        if (sigaction(signo, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signo, &action, nullptr);
    }
}

} // namespace plot::detail

#include "plot/events.h"

#include <QCoreApplication>

#include "runtime.h"

namespace plot {

namespace {
// Window-system input is polled at most this often; posted events and
// queued calls are run at every pump. A millisecond is far below what a
// user can notice, and keeps the half million pumps of a run cheap.
constexpr auto pollInterval = std::chrono::milliseconds(1);
// What has been drawn is shown at display rate, not at every pump.
constexpr auto presentInterval = std::chrono::milliseconds(16);
}

void DoEvents(PumpMode mode)
{
    detail::CountPump();
    detail::Runtime& rt = detail::runtime();

    if (mode == PumpMode::UntilEvent) {
        detail::PresentPictures(false);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        rt.lastPoll = std::chrono::steady_clock::now();
    } else {
        QCoreApplication::sendPostedEvents();
        const auto now = std::chrono::steady_clock::now();
        if (now - rt.lastPoll >= pollInterval) {
            if (now - rt.lastPresent >= presentInterval)
                detail::PresentPictures(false);
            QCoreApplication::processEvents();
            rt.lastPoll = now;
        }
    }
    detail::LeavePump();
}

} // namespace plot

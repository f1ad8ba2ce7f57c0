// The tone on the desktop: on a thread of its own a timer keeps a
// QAudioSink's short buffer filled from a ToneStream; the program's thread
// hands over the harmonics and switches the sink on and off by queued
// calls, never waiting for the audio thread.
#include "plot/sound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include "runtime.h"
#include "sum_wave.h"
#include "tone_stream.h"

namespace plot {

namespace {
// The sink's buffer: enough that the sound server never runs dry while the
// audio thread waits for the processor, short enough that "Löschen" is
// heard at once; filled up every few milliseconds.
constexpr int bufferMs = 20;
constexpr int feedMs = 4;
// After "Ton aus" the sink stops once the fade to silence has played.
constexpr int stopAfterMs = 2 * bufferMs + 20;

QtMessageHandler previousHandler = nullptr;

// The default output, if there is one. Where no sound server runs, Qt's
// PulseAudio backend says so on standard error: a computer without sound
// is no fault, and the disabled button tells it.
QAudioDevice defaultOutput()
{
    previousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QLatin1String("PulseAudioService:")))
            previousHandler(type, context, text);
    });
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(previousHandler);
    return device;
}
} // namespace

class ToneOutput : public QObject {
public:
    ToneOutput()
        : device(defaultOutput())
    {
    }

    ~ToneOutput() override
    {
        if (!thread.isRunning())
            return;
        QMetaObject::invokeMethod(worker, [this] { closeSink(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        delete worker;
    }

    // On the program's thread ---------------------------------------------

    bool play()
    {
        if (device.isNull())
            return false;
        if (!thread.isRunning()) {
            worker = new QObject;
            worker->moveToThread(&thread);
            thread.setObjectName(QStringLiteral("Ton"));
            thread.start(QThread::TimeCriticalPriority);
        }
        playing = true;
        ++switches;
        const auto handed = orders;
        const int at = switches;
        QMetaObject::invokeMethod(worker, [this, handed, at] { openSink(handed, at); }, Qt::QueuedConnection);
        return true;
    }

    void stop()
    {
        if (!playing)
            return;
        playing = false;
        ++switches;
        const int at = switches;
        QMetaObject::invokeMethod(worker, [this, at] { fadeOut(at); }, Qt::QueuedConnection);
    }

    void hand()
    {
        if (playing)
            QMetaObject::invokeMethod(worker, [this, handed = orders] { handOver(handed); }, Qt::QueuedConnection);
    }

    // The audio thread lost the output.
    void lost(int at)
    {
        if (!playing || at != switches)
            return;
        playing = false;
        detail::RunHandler(onLost);
    }

    QAudioDevice device;
    detail::SumWave::Orders orders;
    bool playing = false;
    int switches = 0;
    std::function<void()> onLost;
    QThread thread;
    QObject* worker = nullptr;

private:
    // On the audio thread ---------------------------------------------------

    void openSink(const detail::SumWave::Orders& handed, int at)
    {
        current = at;
        if (sink) {
            stream->Hand(handed);
            return;
        }
        QAudioFormat format = device.preferredFormat();
        format.setChannelCount(std::min(2, std::max(1, format.channelCount())));
        if (device.isFormatSupported(withFloat(format)))
            format = withFloat(format);
        sink = new QAudioSink(device, format);
        sink->setBufferSize(format.bytesForDuration(bufferMs * 1000));
        stream = new ToneStream(format, handed);
        QObject::connect(sink, &QAudioSink::stateChanged, sink, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && sink && sink->error() != QAudio::NoError)
                failed();
        });
        output = sink->start();
        if (!output || sink->error() != QAudio::NoError) {
            failed();
            return;
        }
        feeder = new QTimer;
        feeder->setTimerType(Qt::PreciseTimer);
        QObject::connect(feeder, &QTimer::timeout, feeder, [this] { feed(); });
        feeder->start(feedMs);
        feed();
    }

    void feed()
    {
        if (!sink)
            return;
        const qint64 free = sink->bytesFree();
        // Found empty after the first fill: the sound server ran dry.
        if (fed && free >= sink->bufferSize())
            detail::CountToneUnderrun();
        fed = true;
        stream->Feed(output, free);
    }

    void handOver(const detail::SumWave::Orders& handed)
    {
        if (sink)
            stream->Hand(handed);
    }

    void fadeOut(int at)
    {
        current = at;
        if (!sink)
            return;
        stream->Hand({});
        QTimer::singleShot(stopAfterMs, worker, [this, at] {
            if (current == at)
                closeSink();
        });
    }

    void failed()
    {
        const int at = current;
        // Not from inside the sink's own signal.
        QTimer::singleShot(0, worker, [this] { closeSink(); });
        QMetaObject::invokeMethod(this, [this, at] { lost(at); }, Qt::QueuedConnection);
    }

    void closeSink()
    {
        if (!sink)
            return;
        delete feeder;
        feeder = nullptr;
        sink->disconnect();
        sink->stop();
        delete sink;
        sink = nullptr;
        output = nullptr;
        delete stream;
        stream = nullptr;
        fed = false;
    }

    static QAudioFormat withFloat(QAudioFormat format)
    {
        format.setSampleFormat(QAudioFormat::Float);
        return format;
    }

    QAudioSink* sink = nullptr;
    QIODevice* output = nullptr;
    QTimer* feeder = nullptr;
    ToneStream* stream = nullptr;
    bool fed = false;
    int current = 0;
};

SumTone::SumTone()
    : out_(std::make_unique<ToneOutput>())
{
}

SumTone::~SumTone() = default;

bool SumTone::Available() const
{
    return !out_->device.isNull();
}

bool SumTone::Playing() const
{
    return out_->playing;
}

bool SumTone::Playing(bool on)
{
    if (on == out_->playing)
        return on;
    if (on)
        return out_->play();
    out_->stop();
    return false;
}

void SumTone::Clear()
{
    out_->orders.reset();
    out_->hand();
}

void SumTone::Add(Integer order)
{
    if (order < 1 || order > detail::SumWave::highestOrder || out_->orders.test(order))
        return;
    out_->orders.set(order);
    out_->hand();
}

void SumTone::OnLost(std::function<void()> handler)
{
    out_->onLost = std::move(handler);
}

void SumTone::SwitchedBy(const Button&)
{
    // The desktop may start audio at any time.
}

} // namespace plot

#pragma once
// The samples of the tone, made on the audio thread as the audio sink
// pulls them. The program's thread only hands over the harmonics.
#include <QAudioFormat>
#include <QIODevice>
#include <chrono>
#include <limits>
#include <mutex>
#include <vector>

#include "sum_wave.h"

namespace plot {

class ToneStream : public QIODevice {
    Q_OBJECT
public:
    ToneStream(const QAudioFormat& format, const detail::SumWave::Orders& orders, qint64 bufferBytes);

    // From any thread: the harmonics to sound from now on.
    void Hand(const detail::SumWave::Orders& orders);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return std::numeric_limits<qint32>::max(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void takeHandedOver();
    void countUnderrun();

    QAudioFormat format_;
    std::mutex handing_;
    detail::SumWave::Orders handed_;
    bool changed_ = false;
    detail::SumWave wave_;
    detail::ToneRenderer renderer_;
    std::vector<float> mono_;
    std::chrono::steady_clock::duration buffered_;
    std::chrono::steady_clock::time_point lastRead_ {};
};

namespace detail {
// Reads that came later than the sink's buffer lasts: the output ran dry.
void CountToneUnderrun();
}

} // namespace plot

#pragma once
// The samples of the tone, made on the audio thread and written into the
// audio sink a little at a time, so that a change is heard within a few
// tens of milliseconds. The program's thread only hands over the
// harmonics.
#include <QAudioFormat>
#include <QIODevice>
#include <mutex>
#include <vector>

#include "sum_wave.h"

namespace plot {

class ToneStream {
public:
    ToneStream(const QAudioFormat& format, const detail::SumWave::Orders& orders);

    // From any thread: the harmonics to sound from now on.
    void Hand(const detail::SumWave::Orders& orders);
    // On the audio thread: as many whole frames as there are bytes free,
    // written to the sink's device.
    void Feed(QIODevice* sink, qint64 bytesFree);

private:
    void takeHandedOver();

    QAudioFormat format_;
    std::mutex handing_;
    detail::SumWave::Orders handed_;
    bool changed_ = true;
    detail::SumWave wave_;
    detail::ToneRenderer renderer_;
    std::vector<float> mono_;
    std::vector<char> bytes_;
};

namespace detail {
// The sink found its buffer empty: the output ran dry.
void CountToneUnderrun();
} // namespace detail

} // namespace plot

#include "tone_stream.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "plot/testing.h"

namespace plot {

namespace {

std::atomic<std::uint64_t> underruns { 0 };

template <typename T>
void put(char* data, const std::vector<float>& mono, int frames, int channels, double scale, double offset)
{
    T* out = reinterpret_cast<T*>(data);
    for (int n = 0; n < frames; ++n) {
        const T v = T(std::clamp(double(mono[n]), -1.0, 1.0) * scale + offset);
        for (int c = 0; c < channels; ++c)
            *out++ = v;
    }
}

} // namespace

namespace detail {
void CountToneUnderrun()
{
    ++underruns;
}
} // namespace detail

namespace testing {
std::uint64_t ToneUnderruns()
{
    return underruns;
}
} // namespace testing

ToneStream::ToneStream(const QAudioFormat& format, const detail::SumWave::Orders& orders)
    : format_(format)
    , handed_(orders)
    , renderer_(format.sampleRate())
{
}

void ToneStream::Hand(const detail::SumWave::Orders& orders)
{
    std::lock_guard lock(handing_);
    handed_ = orders;
    changed_ = true;
}

// The audio thread never waits: when the program's thread holds the lock
// just now, the change comes with the next write.
void ToneStream::takeHandedOver()
{
    std::unique_lock lock(handing_, std::try_to_lock);
    if (!lock.owns_lock() || !changed_)
        return;
    wave_.Set(handed_);
    changed_ = false;
    lock.unlock();
    renderer_.Change(wave_);
}

void ToneStream::Feed(QIODevice* sink, qint64 bytesFree)
{
    takeHandedOver();
    const int frameBytes = format_.bytesPerFrame();
    const int frames = int(bytesFree / frameBytes);
    if (frames <= 0)
        return;
    mono_.resize(frames);
    bytes_.resize(size_t(frames) * frameBytes);
    renderer_.Render(mono_.data(), frames);
    char* data = bytes_.data();
    const int channels = format_.channelCount();
    switch (format_.sampleFormat()) {
    case QAudioFormat::UInt8:
        put<std::uint8_t>(data, mono_, frames, channels, 127, 128);
        break;
    case QAudioFormat::Int16:
        put<std::int16_t>(data, mono_, frames, channels, 32767, 0);
        break;
    case QAudioFormat::Int32:
        put<std::int32_t>(data, mono_, frames, channels, 2147483647.0, 0);
        break;
    case QAudioFormat::Float:
        put<float>(data, mono_, frames, channels, 1, 0);
        break;
    default:
        std::memset(data, 0, bytes_.size());
        break;
    }
    sink->write(data, qint64(bytes_.size()));
}

} // namespace plot

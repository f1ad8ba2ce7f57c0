#include "sum_wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plot::detail {

namespace {

// sin(2 pi i / tableSize): the harmonic of order k at sample i is entry
// k i modulo tableSize, exact and the same for every order.
const std::array<double, SumWave::tableSize>& sineTable()
{
    static const auto table = [] {
        std::array<double, SumWave::tableSize> t {};
        for (int i = 0; i < SumWave::tableSize; ++i)
            t[i] = std::sin(2.0 * std::numbers::pi * i / SumWave::tableSize);
        return t;
    }();
    return table;
}

// The table holds the period at its samples only; between them it may
// peak a little higher, and the playing interpolates. Kept as a margin.
constexpr double peakMargin = 0.98;

} // namespace

SumWave::SumWave()
{
    sineTable();
}

void SumWave::Clear()
{
    sum_.fill(0);
    orders_.reset();
    squares_ = 0;
}

void SumWave::Add(int order)
{
    if (order < 1 || order > highestOrder || orders_.test(order))
        return;
    orders_.set(order);
    squares_ += 1.0 / (double(order) * order);
    const auto& sine = sineTable();
    for (int i = 0; i < tableSize; ++i)
        sum_[i] += sine[(long(order) * i) % tableSize] / order;
}

void SumWave::Set(const Orders& orders)
{
    if ((orders_ & ~orders).any())
        Clear();
    for (int k = 1; k <= highestOrder; ++k)
        if (orders.test(k))
            Add(k);
}

double SumWave::Gain() const
{
    if (Silent())
        return 0;
    const double rms = std::sqrt(squares_ / 2);
    double peak = 0;
    for (double v : sum_)
        peak = std::max(peak, std::fabs(v));
    return std::min(levelRms / rms, peakMargin * peakLimit / peak);
}

double SumWave::Amplitude(int order) const
{
    if (order < 1 || order > highestOrder || !orders_.test(order))
        return 0;
    return Gain() / order;
}

std::array<double, SumWave::highestOrder + 1> SumWave::Amplitudes() const
{
    std::array<double, highestOrder + 1> amplitudes {};
    const double gain = Gain();
    for (int k = 1; k <= highestOrder; ++k)
        amplitudes[k] = orders_.test(k) ? gain / k : 0;
    return amplitudes;
}

void SumWave::Period(float* out) const
{
    const double gain = Gain();
    for (int i = 0; i < tableSize; ++i)
        out[i] = float(gain * sum_[i]);
}

ToneRenderer::ToneRenderer(double sampleRate)
    : step_(SumWave::fundamentalHz * SumWave::tableSize / sampleRate)
    , fadeFrames_(std::max(1, int(std::lround(fadeSeconds * sampleRate))))
    , fadeDone_(fadeFrames_)
{
}

void ToneRenderer::Change(const SumWave& wave)
{
    // What sounds now, in the middle of a crossfade too, is where the new
    // one starts from.
    const float r = float(fadeDone_) / float(fadeFrames_);
    for (int i = 0; i < SumWave::tableSize; ++i)
        from_[i] = from_[i] * (1 - r) + to_[i] * r;
    wave.Period(to_.data());
    fadeDone_ = 0;
    quiet_ = false;
    targetSilent_ = wave.Silent();
}

float ToneRenderer::sampleAt(const std::array<float, SumWave::tableSize>& table) const
{
    const int i = int(phase_);
    const float frac = float(phase_ - i);
    const float a = table[i];
    const float b = table[(i + 1) % SumWave::tableSize];
    return a + (b - a) * frac;
}

void ToneRenderer::Render(float* out, int frames)
{
    if (quiet_) {
        std::fill(out, out + frames, 0.0f);
        return;
    }
    for (int n = 0; n < frames; ++n) {
        if (fadeDone_ < fadeFrames_) {
            const float r = float(fadeDone_) / float(fadeFrames_);
            out[n] = sampleAt(from_) * (1 - r) + sampleAt(to_) * r;
            ++fadeDone_;
        } else {
            out[n] = sampleAt(to_);
        }
        phase_ += step_;
        if (phase_ >= SumWave::tableSize)
            phase_ -= SumWave::tableSize;
    }
    if (fadeDone_ >= fadeFrames_ && targetSilent_)
        quiet_ = true;
}

} // namespace plot::detail

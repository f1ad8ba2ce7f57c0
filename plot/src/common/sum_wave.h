#pragma once
// The waveform of wavesum's tone, apart from any sound output: one period
// is the sum curve the picture shows, without its constant offset, the
// harmonics added so far each as sin(kx)/k, at a level that keeps the
// loudness about the same however many have joined and the peak below
// -3 dBFS. The backends only play it.
#include <array>
#include <bitset>

namespace plot::detail {

class SumWave {
public:
    // The fundamental: A2, low enough that every order up to the highest
    // stays far below the Nyquist frequency of 44.1 kHz output.
    static constexpr double fundamentalHz = 110.0;
    static constexpr int highestOrder = 103;
    // The samples of one period in the table.
    static constexpr int tableSize = 4096;
    // The loudness every sum is played at (RMS, full scale 1), and the
    // peak no sum may exceed: -3 dBFS. The sawtooth's sum of 100 orders,
    // whose peak is some 2.04 times its RMS, stays below it.
    static constexpr double levelRms = 0.33;
    static constexpr double peakLimit = 0.7079;

    using Orders = std::bitset<highestOrder + 1>;

    SumWave();

    // No harmonics: silence.
    void Clear();
    // The harmonic of this order joins (once; orders beyond the highest are
    // not played).
    void Add(int order);
    // Exactly these harmonics.
    void Set(const Orders& orders);
    const Orders& orders() const { return orders_; }
    bool Silent() const { return orders_.none(); }

    // The factor the sum of sin(kx)/k is played at, and the amplitude of
    // one harmonic in the played tone (0 if it is not in the sum).
    double Gain() const;
    double Amplitude(int order) const;
    // Every harmonic's amplitude, index = order, with the gain found once.
    std::array<double, highestOrder + 1> Amplitudes() const;
    // One period as played, sample i at phase 2 pi i / tableSize.
    void Period(float* out) const;

private:
    std::array<double, tableSize> sum_ {}; // sum of sin(kx)/k, unscaled
    Orders orders_;
    double squares_ = 0; // sum of 1/k^2
};

// Plays a SumWave's period at a sample rate, on the audio side: a new
// wave takes over by a crossfade of fadeSeconds, so that no change clicks
// (also from and to silence).
class ToneRenderer {
public:
    static constexpr double fadeSeconds = 0.010;

    explicit ToneRenderer(double sampleRate);
    // Starts the crossfade to this wave.
    void Change(const SumWave& wave);
    // Mono samples, full scale 1.
    void Render(float* out, int frames);
    // Silent now and staying so (no wave, no crossfade left).
    bool Quiet() const { return quiet_; }

private:
    float sampleAt(const std::array<float, SumWave::tableSize>& table) const;

    std::array<float, SumWave::tableSize> from_ {};
    std::array<float, SumWave::tableSize> to_ {};
    double phase_ = 0; // in table samples
    double step_;
    int fadeFrames_;
    int fadeDone_;
    bool quiet_ = true;
    bool targetSilent_ = true;
};

} // namespace plot::detail

// The tone in the browser: the waveform from the shared core, handed to
// Sound in sound.js as the sine amplitudes of a PeriodicWave, which the
// browser's audio thread plays.
#include "plot/sound.h"

#include <emscripten.h>

#include "events_web.h"
#include "runtime.h"
#include "sum_wave.h"
#include "widgets.h"

EM_JS(int, plot_sound_available, (), { return Sound.available() ? 1 : 0; });
EM_JS(void, plot_sound_switched_by, (int id), { Sound.switchedBy(id); });
EM_JS(int, plot_sound_play, (const double* amplitudes, int count), {
    return Sound.play(count ? HEAPF64.slice(amplitudes >> 3, (amplitudes >> 3) + count) : null) ? 1 : 0;
});
EM_JS(void, plot_sound_change, (const double* amplitudes, int count), {
    Sound.change(count ? HEAPF64.slice(amplitudes >> 3, (amplitudes >> 3) + count) : null);
});
EM_JS(void, plot_sound_stop, (), { Sound.stop(); });

namespace plot {

class ToneOutput {
public:
    void hand()
    {
        if (!playing)
            return;
        if (wave.Silent()) {
            plot_sound_change(nullptr, 0);
            return;
        }
        const auto amplitudes = coefficients();
        plot_sound_change(amplitudes.data(), int(amplitudes.size()));
    }

    std::array<double, detail::SumWave::highestOrder + 1> coefficients() const { return wave.Amplitudes(); }

    bool available = plot_sound_available() != 0;
    bool playing = false;
    detail::SumWave wave;
    std::function<void()> onLost;
};

namespace {
ToneOutput* lostListener = nullptr;
}

namespace detail {
void ToneLost(bool neverStarted)
{
    if (!lostListener || !lostListener->playing)
        return;
    lostListener->playing = false;
    if (neverStarted)
        lostListener->available = false;
    RunHandler(lostListener->onLost);
}
} // namespace detail

SumTone::SumTone()
    : out_(std::make_unique<ToneOutput>())
{
    lostListener = out_.get();
}

SumTone::~SumTone()
{
    if (out_->playing)
        plot_sound_stop();
    if (lostListener == out_.get())
        lostListener = nullptr;
}

bool SumTone::Available() const
{
    return out_->available;
}

bool SumTone::Playing() const
{
    return out_->playing;
}

bool SumTone::Playing(bool on)
{
    if (on == out_->playing)
        return on;
    if (!on) {
        out_->playing = false;
        plot_sound_stop();
        return false;
    }
    if (!out_->available)
        return false;
    const auto amplitudes = out_->coefficients();
    out_->playing = plot_sound_play(amplitudes.data(), out_->wave.Silent() ? 0 : int(amplitudes.size())) != 0;
    return out_->playing;
}

void SumTone::Clear()
{
    out_->wave.Clear();
    out_->hand();
}

void SumTone::Add(Integer order)
{
    if (order < 1 || order > detail::SumWave::highestOrder || out_->wave.orders().test(order))
        return;
    out_->wave.Add(order);
    out_->hand();
}

void SumTone::OnLost(std::function<void()> handler)
{
    out_->onLost = std::move(handler);
}

void SumTone::SwitchedBy(const Button& button)
{
    plot_sound_switched_by(button.widget()->id);
}

} // namespace plot

#pragma once
// A steady tone whose one period is a sum of harmonics sin(kx)/k, played
// on the computer's audio output beside the program: making the samples
// never waits for the program, nor the program for it.
#include <functional>
#include <memory>

#include "plot/button.h"
#include "plot/types.h"

namespace plot {

class ToneOutput;

class SumTone {
public:
    SumTone();
    ~SumTone();
    SumTone(const SumTone&) = delete;
    SumTone& operator=(const SumTone&) = delete;

    // Whether there is an audio output to play on, as found when the tone
    // was made, or since then by an output that never started.
    bool Available() const;

    // Whether the tone plays. Playing(true) opens the output and sounds the
    // harmonics; false when it could not be opened. Playing(false) falls
    // silent.
    bool Playing() const;
    bool Playing(bool on);

    // The harmonics of the sum, whether playing or not: none (silence),
    // or one more order joining. A change sounds at once, crossfaded.
    void Clear();
    void Add(Integer order);

    // Runs when the output is lost while playing (a headset unplugged, the
    // sound server gone), or never starts (a browser with no sound server
    // to play on: then the tone is no longer Available); the tone has then
    // stopped playing.
    void OnLost(std::function<void()> handler);

    // The button that switches the tone. A browser starts audio only
    // inside the user's own click: its clicks start it there and then.
    void SwitchedBy(const Button& button);

private:
    std::unique_ptr<ToneOutput> out_;
};

} // namespace plot

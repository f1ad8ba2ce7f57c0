#pragma once
// What assistive technology is told of a picture, apart from the toolkit
// that tells it.
#include <string>

#include "plot/picture.h"

namespace plot::detail {

// Lets a Progress description through only when two seconds have passed
// since the last description that went out; every other one always.
class TellingPace {
public:
    static constexpr double progressInterval = 2.0; // seconds

    bool admit(Pace pace, double nowSeconds)
    {
        if (pace == Pace::Progress && told_ && nowSeconds - last_ < progressInterval)
            return false;
        told_ = true;
        last_ = nowSeconds;
        return true;
    }

private:
    bool told_ = false;
    double last_ = 0;
};

struct Telling {
    std::string description;
    TellingPace pace;
};

// Seconds on a clock that only goes forward.
double MonotonicSeconds();

} // namespace plot::detail

#pragma once
// Checked arithmetic: every floating-point result is tested for invalid
// operation, division by zero and overflow, every 16-bit step for overflow,
// every conversion for range. A failed test raises the run-time error.
#include <cmath>
#include <cstdint>
#include <limits>

#include "plot/runtime_error.h"
#include "plot/types.h"

namespace plot {

// A double-precision result, tested: NaN or infinity raise "Überlauf".
inline double Checked(double v)
{
    if (!std::isfinite(v)) [[unlikely]]
        Raise(ErrorCode::Overflow);
    return v;
}

inline double Divide(double a, double b)
{
    if (b == 0.0) [[unlikely]]
        Raise(a == 0.0 || std::isnan(a) ? ErrorCode::Overflow : ErrorCode::DivisionByZero);
    return Checked(a / b);
}

// Reduce to a 32-bit float, raising "Überlauf" beyond its range.
inline Single CSng(double v)
{
    Checked(v);
    if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max())) [[unlikely]] {
        // Values that round down to FLT_MAX are still representable.
        const float f = static_cast<float>(v);
        if (std::isinf(f))
            Raise(ErrorCode::Overflow);
        return f;
    }
    return static_cast<Single>(v);
}

// Round to the nearest 32-bit integer, ties to even.
inline Long CLng(double v)
{
    Checked(v);
    // Adding and taking away 2^52 rounds to an integer in the current
    // rounding mode, to nearest with ties to even; exact for |v| < 2^52.
    constexpr double shift = 4503599627370496.0;
    double r;
    if (std::fabs(v) < shift)
        r = v >= 0 ? (v + shift) - shift : -((-v + shift) - shift);
    else
        r = v;
    if (r < -2147483648.0 || r > 2147483647.0) [[unlikely]]
        Raise(ErrorCode::Overflow);
    return static_cast<Long>(r);
}

inline Integer AddInteger(Integer a, Integer b)
{
    const int sum = int(a) + int(b);
    if (sum < std::numeric_limits<Integer>::min() || sum > std::numeric_limits<Integer>::max()) [[unlikely]]
        Raise(ErrorCode::Overflow);
    return static_cast<Integer>(sum);
}

inline Integer SubtractInteger(Integer a, Integer b)
{
    const int diff = int(a) - int(b);
    if (diff < std::numeric_limits<Integer>::min() || diff > std::numeric_limits<Integer>::max()) [[unlikely]]
        Raise(ErrorCode::Overflow);
    return static_cast<Integer>(diff);
}

// Sine of radians in double precision; an infinite argument raises.
double Sin(double radians);

// How many sines Sin has computed since the program started.
std::uint64_t SinCount();

// A table whose every access tests the index against Lo..Hi first; an
// element never written reads as 0.
template <class T, Long Lo, Long Hi>
class CheckedArray {
public:
    T& operator()(Long i)
    {
        if (i < Lo || i > Hi) [[unlikely]]
            Raise(ErrorCode::SubscriptOutOfRange);
        return values_[i - Lo];
    }
    const T& operator()(Long i) const { return const_cast<CheckedArray&>(*this)(i); }
    static constexpr Long lower() { return Lo; }
    static constexpr Long upper() { return Hi; }

private:
    T values_[Hi - Lo + 1] {};
};

} // namespace plot

#pragma once

#include <cmath>
#include <cstdint>

namespace dorvath {

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

inline long double DegToRad(double degrees) {
    return static_cast<long double>(degrees) * kPi / 180.0L;
}

struct SinCos {
    long double sin;
    long double cos;
};

// Both at once: one argument reduction instead of two, which matters because angles
// grow without bound.
inline SinCos SinCosOf(long double radians) {
    SinCos r;
    sincosl(radians, &r.sin, &r.cos);
    return r;
}

// To the nearest integer, an exact half going to the even neighbour. Plain integer
// conversion instead of library calls: this runs a dozen times a frame.
inline std::int32_t Round(long double v) {
    std::int64_t r = static_cast<std::int64_t>(v);             // toward zero
    const long double frac = v - static_cast<long double>(r);  // exact
    if (frac > 0.5L || (frac == 0.5L && (r & 1) != 0)) {
        ++r;
    } else if (frac < -0.5L || (frac == -0.5L && (r & 1) != 0)) {
        --r;
    }
    return static_cast<std::int32_t>(r);
}

// Toward zero.
inline std::int32_t Trunc(long double v) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(v));
}

}  // namespace dorvath

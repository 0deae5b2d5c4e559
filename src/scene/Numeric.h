#pragma once

#include <cmath>
#include <cstdint>

namespace dorvath {

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

inline long double DegToRad(double degrees) {
    return static_cast<long double>(degrees) * kPi / 180.0L;
}

// To the nearest integer, an exact half going to the even neighbour.
inline std::int32_t Round(long double v) {
    const long double lower = std::floor(v);
    const long double frac = v - lower;
    long double r = lower;
    if (frac > 0.5L || (frac == 0.5L && std::fmod(lower, 2.0L) != 0.0L))
        r = lower + 1.0L;
    return static_cast<std::int32_t>(r);
}

// Toward zero.
inline std::int32_t Trunc(long double v) {
    return static_cast<std::int32_t>(std::trunc(v));
}

}  // namespace dorvath

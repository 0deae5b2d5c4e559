#pragma once

#include <cmath>
#include <cstdint>

namespace dorvath {

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

struct SinCos {
    long double sin;
    long double cos;
};

// Sine and cosine of an angle in degrees, in extended precision. The angle is first
// brought within 45 degrees of zero, exactly: in degrees, whole multiples of 90 come
// off without rounding. The library then needs no reduction of its own, which for the
// ever-growing angles was most of a frame's arithmetic, and huge angles keep their
// full accuracy. The result is the sine of angle * pi / 180 as before.
inline SinCos SinCosDegrees(double degrees) {
    const double turn = std::fmod(degrees, 360.0);  // exact, within (-360, 360)
    const double quarters = std::nearbyint(turn / 90.0);
    const double rest = turn - 90.0 * quarters;  // exact, within [-45, 45]
    long double s = 0.0L, c = 0.0L;
    sincosl(static_cast<long double>(rest) * kPi / 180.0L, &s, &c);
    switch ((static_cast<int>(quarters) % 4 + 4) % 4) {
        case 1:
            return {c, -s};
        case 2:
            return {-s, -c};
        case 3:
            return {-c, s};
        default:
            return {s, c};
    }
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

#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

namespace dorvath {

inline constexpr long double kPi = std::numbers::pi_v<long double>;

template <typename Real>
struct SinCosOf {
    Real sin;
    Real cos;
};

// The program's precision: extended where the platform's long double has it (x86 GCC and
// Clang, MinGW-w64), 53 bits where it is a double (MSVC). Both give the same frames.
using SinCos = SinCosOf<long double>;

// Sine and cosine of an angle in degrees. The angle is first brought within 45 degrees
// of zero, exactly: in degrees, whole multiples of 90 come off without rounding. The
// library then needs no reduction of its own, which for the ever-growing angles was
// most of a frame's arithmetic, and huge angles keep their full accuracy. The result
// is the sine of angle * pi / 180 as before, in Real's precision.
template <typename Real = long double>
SinCosOf<Real> SinCosDegrees(double degrees) {
    const double turn = std::fmod(degrees, 360.0);  // exact, within (-360, 360)
    const double quarters = std::nearbyint(turn / 90.0);
    const double rest = turn - 90.0 * quarters;  // exact, within [-45, 45]
    const Real radians = static_cast<Real>(rest) * static_cast<Real>(kPi) / Real{180};
    const Real s = std::sin(radians);
    const Real c = std::cos(radians);
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

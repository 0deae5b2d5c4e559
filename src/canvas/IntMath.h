#pragma once

#include <cmath>
#include <cstdint>

namespace dorvath {

// Division rounding down, b > 0. Exact for every a; ordinary sizes take a cheap
// floating-point estimate that is then settled, since an integer division costs more.
inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kExact = std::int64_t{1} << 52;  // exact as a double
    if (a <= -kExact || a >= kExact || b >= kExact) {
        const std::int64_t q = a / b;
        return (a % b != 0 && a < 0) ? q - 1 : q;
    }
    auto q = static_cast<std::int64_t>(static_cast<double>(a) / static_cast<double>(b));
    while (q * b > a)
        --q;
    while ((q + 1) * b <= a)
        ++q;
    return q;
}

// Halving a doubled coordinate, rounded down or up.
constexpr std::int64_t FloorHalf(std::int64_t a) {
    return a >> 1;  // an arithmetic shift in C++20
}
constexpr std::int64_t CeilHalf(std::int64_t a) {
    return -FloorHalf(-a);
}

}  // namespace dorvath

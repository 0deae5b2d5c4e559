#pragma once

#include <cstdint>
#include <limits>

namespace dorvath {

// A signed 128-bit integer with just what exact geometry needs: products of two 64-bit
// values, sums, comparisons and a floor division by a positive 64-bit divisor. Plain
// C++, so that every compiler builds it; two's complement in two 64-bit halves.
class Int128 {
public:
    constexpr Int128() = default;
    constexpr Int128(std::int64_t v)  // NOLINT: widening is always exact
        : hi_(v < 0 ? ~std::uint64_t{0} : 0), lo_(static_cast<std::uint64_t>(v)) {}

    // The exact product a * b.
    static constexpr Int128 Product(std::int64_t a, std::int64_t b) {
        const bool negative = (a < 0) != (b < 0);
        const Int128 magnitude = UnsignedProduct(Magnitude(a), Magnitude(b));
        return negative ? -magnitude : magnitude;
    }

    constexpr Int128 operator-() const {
        Int128 r;
        r.lo_ = ~lo_ + 1;
        r.hi_ = ~hi_ + (r.lo_ == 0 ? 1 : 0);
        return r;
    }
    friend constexpr Int128 operator+(Int128 a, Int128 b) {
        Int128 r;
        r.lo_ = a.lo_ + b.lo_;
        r.hi_ = a.hi_ + b.hi_ + (r.lo_ < a.lo_ ? 1 : 0);
        return r;
    }
    friend constexpr Int128 operator-(Int128 a, Int128 b) { return a + -b; }

    friend constexpr bool operator==(Int128 a, Int128 b) = default;
    friend constexpr bool operator<(Int128 a, Int128 b) {
        const auto ah = static_cast<std::int64_t>(a.hi_), bh = static_cast<std::int64_t>(b.hi_);
        return ah != bh ? ah < bh : a.lo_ < b.lo_;
    }
    friend constexpr bool operator>(Int128 a, Int128 b) { return b < a; }
    friend constexpr bool operator<=(Int128 a, Int128 b) { return !(b < a); }
    friend constexpr bool operator>=(Int128 a, Int128 b) { return !(a < b); }

    constexpr bool Negative() const { return static_cast<std::int64_t>(hi_) < 0; }
    constexpr bool FitsInt64() const {
        return hi_ == (static_cast<std::int64_t>(lo_) < 0 ? ~std::uint64_t{0} : 0);
    }
    // Only meaningful when FitsInt64().
    constexpr std::int64_t Low64() const { return static_cast<std::int64_t>(lo_); }
    // The nearest double, or close to it: a starting estimate, never a result.
    double Approximate() const {
        if (FitsInt64())  // also keeps small negative values free of cancellation
            return static_cast<double>(Low64());
        constexpr double kTwo64 = 18446744073709551616.0;
        return static_cast<double>(static_cast<std::int64_t>(hi_)) * kTwo64 +
               static_cast<double>(lo_);
    }

private:
    static constexpr std::uint64_t Magnitude(std::int64_t v) {
        return v < 0 ? ~static_cast<std::uint64_t>(v) + 1 : static_cast<std::uint64_t>(v);
    }
    static constexpr Int128 UnsignedProduct(std::uint64_t a, std::uint64_t b) {
        constexpr std::uint64_t kMask = 0xFFFFFFFFu;
        const std::uint64_t a0 = a & kMask, a1 = a >> 32, b0 = b & kMask, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & kMask) + (p10 & kMask);
        Int128 r;
        r.lo_ = (middle << 32) | (p00 & kMask);
        r.hi_ = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        return r;
    }

    std::uint64_t hi_ = 0;
    std::uint64_t lo_ = 0;
};

// floor(a / b) for b > 0, clamped to [-limit, limit]; limit * b must fit in 127 bits.
// A floating-point estimate settled exactly.
inline std::int64_t FloorDivClamped(Int128 a, std::int64_t b, std::int64_t limit) {
    if (a >= Int128::Product(limit, b))
        return limit;
    if (a < Int128::Product(-limit, b))
        return -limit;
    // Clamped as a double first: a limit near 2^63 rounds up to 2^63, which no int64 holds.
    const double estimate = a.Approximate() / static_cast<double>(b);
    const double top = static_cast<double>(limit);
    std::int64_t q = estimate >= top    ? limit
                     : estimate <= -top ? -limit
                                        : static_cast<std::int64_t>(estimate);
    while (q > -limit && Int128::Product(q, b) > a)
        --q;
    while (q < limit && Int128::Product(q + 1, b) <= a)
        ++q;
    return q;
}

}  // namespace dorvath

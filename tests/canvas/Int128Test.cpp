#include "canvas/Int128.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/Seed.h"

namespace dorvath {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kTwo32 = std::int64_t{1} << 32;
constexpr std::int64_t kTwo53 = std::int64_t{1} << 53;
constexpr std::int64_t kTwo60 = std::int64_t{1} << 60;

// Cases worked out by hand, so that they hold on compilers without a wider integer too.

TEST(Int128Exact, ProductsAndSumsAcrossTheHalves) {
    struct Case {
        const char* what;
        Int128 got;
        Int128 want;
        bool fits;
    };
    const Case cases[] = {
        {"2^32 * 2^32 = 2^64", Int128::Product(kTwo32, kTwo32), Int128(kMax) + kMax + 2, false},
        {"-1 * min = 2^63", Int128::Product(-1, kMin), Int128(kMax) + 1, false},
        {"-min = 2^63", -Int128(kMin), Int128(kMax) + 1, false},
        {"min * 1", Int128::Product(kMin, 1), Int128(kMin), true},
        {"max * -1", Int128::Product(kMax, -1), Int128(kMin) + 1, true},
        {"-2^32 * 2^31 = min", Int128::Product(-kTwo32, kTwo32 / 2), Int128(kMin), true},
        {"largest square that fits", Int128::Product(3037000499, 3037000499),
         Int128(9223372030926249001), true},
        {"smallest square that does not", Int128::Product(3037000500, 3037000500),
         Int128(kMax) + 145474193, false},
        {"min * min + min * max = 2^63", Int128::Product(kMin, kMin) + Int128::Product(kMin, kMax),
         Int128(kMax) + 1, false},
        {"max * max - max * (max - 1) = max",
         Int128::Product(kMax, kMax) - Int128::Product(kMax, kMax - 1), Int128(kMax), true},
        {"min - 1", Int128(kMin) - 1, -(Int128(kMax) + 2), false},
        {"-1 + 1, a carry through both halves", Int128(-1) + 1, Int128(0), true},
        {"-1 * 0 is zero, not negative", Int128::Product(-1, 0), Int128(0), true},
        {"-0", -Int128(0), Int128(0), true},
        {"min * min - (min * min - 1)",
         Int128::Product(kMin, kMin) - (Int128::Product(kMin, kMin) - 1), Int128(1), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got, c.want) << c.what;
        EXPECT_EQ(c.got.FitsInt64(), c.fits) << c.what;
        if (c.fits && c.want.FitsInt64()) {
            EXPECT_EQ(c.got.Low64(), c.want.Low64()) << c.what;
        }
    }
}

TEST(Int128Exact, ComparisonsFollowTheOrderOfValues) {
    // In increasing order.
    const Int128 sorted[] = {
        Int128::Product(kMin, kMax),  // -2^126 + 2^63
        Int128(kMin) - 1,             // just below the 64-bit range
        Int128(kMin),
        Int128(-1),
        Int128(0),
        Int128(1),
        Int128(kMax),
        Int128(kMax) + 1,  // just above the 64-bit range
        Int128::Product(kTwo32, kTwo32),
        Int128::Product(kTwo32, kTwo32) + 1,  // the same high half, a larger low half
        Int128::Product(kMax, kMax),
        Int128::Product(kMin, kMin),  // 2^126
    };
    const std::size_t n = std::size(sorted);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            EXPECT_EQ(sorted[i] < sorted[j], i < j) << i << " " << j;
            EXPECT_EQ(sorted[i] > sorted[j], i > j) << i << " " << j;
            EXPECT_EQ(sorted[i] <= sorted[j], i <= j) << i << " " << j;
            EXPECT_EQ(sorted[i] >= sorted[j], i >= j) << i << " " << j;
            EXPECT_EQ(sorted[i] == sorted[j], i == j) << i << " " << j;
            EXPECT_EQ(sorted[i] != sorted[j], i != j) << i << " " << j;
        }
        EXPECT_EQ(sorted[i].Negative(), sorted[i] < Int128(0)) << i;
    }
}

TEST(Int128Exact, FloorDivClampedRoundsDownAndClamps) {
    const Int128 maxSquare = Int128::Product(kMax, kMax);
    struct Case {
        Int128 a;
        std::int64_t b, limit, want;
    };
    const Case cases[] = {
        {7, 2, 100, 3},
        {-7, 2, 100, -4},
        {-8, 2, 100, -4},
        {-1, kMax, 10, -1},
        {0, 5, 10, 0},
        {Int128::Product(10, 3), 3, 10, 10},        // exactly the limit
        {Int128::Product(10, 3) + 2, 3, 10, 10},    // 10.67, down to the limit
        {Int128::Product(11, 3), 3, 10, 10},        // above it: clamped
        {Int128::Product(-10, 3), 3, 10, -10},      // exactly minus the limit
        {Int128::Product(-10, 3) - 1, 3, 10, -10},  // -10.33 would be -11: clamped
        {Int128::Product(9, 3) + 2, 3, 10, 9},
        {maxSquare, kMax, kMax, kMax},
        {-maxSquare, kMax, kMax, -kMax},
        {-maxSquare - 1, kMax, kMax, -kMax},
        {-maxSquare + 1, kMax, kMax, -kMax},  // just above -max: still -max
        {Int128::Product(kMin, kMin), 1, kMax, kMax},
        {Int128::Product(kMin, kMax), 1, kMax, -kMax},
        // A quotient just below a power of two beyond a double's precision: the estimate
        // rounds up to it and has to be settled down.
        {Int128::Product(kTwo53 + 1, kTwo60 - 1) - 1, kTwo60 - 1, kMax, kTwo53},
        {Int128::Product(kTwo53 + 1, kTwo60 - 1), kTwo60 - 1, kMax, kTwo53 + 1},
        {Int128::Product(-(kTwo53 + 1), kTwo60 - 1) - 1, kTwo60 - 1, kMax, -kTwo53 - 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloorDivClamped(c.a, c.b, c.limit), c.want)
            << "b " << c.b << ", limit " << c.limit << ", want " << c.want;
    }
}

// A limit above 2^63 - 512 is 2^63 as a double: an estimate that large must be clamped
// before it becomes an integer, or the conversion is undefined and the settling loop
// walks for ever.
TEST(Int128Exact, FloorDivClampedWithLimitsNearTheTopOfTheRange) {
    const Int128 maxSquare = Int128::Product(kMax, kMax);
    struct Case {
        Int128 a;
        std::int64_t b, limit, want;
    };
    const Case cases[] = {
        {maxSquare - 1, kMax, kMax, kMax - 1},
        {Int128::Product(kMax - 1, kMax), kMax, kMax, kMax - 1},
        {Int128::Product(kMax - 1, kMax) + kMax - 1, kMax, kMax, kMax - 1},
        {Int128::Product(kMax - 100, 7) + 3, 7, kMax - 10, kMax - 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloorDivClamped(c.a, c.b, c.limit), c.want)
            << "b " << c.b << ", limit " << c.limit << ", want " << c.want;
    }
}

#if defined(__SIZEOF_INT128__)

// The compiler's own 128-bit integer, to hold ours against.
__extension__ typedef __int128 Wide;

std::string ToString(Wide v) {
    if (v == 0)
        return "0";
    const bool negative = v < 0;
    std::string digits;
    while (v != 0) {
        const int digit = static_cast<int>(v % 10);
        digits.insert(digits.begin(), static_cast<char>('0' + (negative ? -digit : digit)));
        v /= 10;
    }
    return negative ? "-" + digits : digits;
}

// Ours from the wide value, built only from the widening constructor and sums, so that
// it is independent of the product under test: the high half doubled 64 times, plus the
// low half in two halves of its own.
Int128 FromWide(Wide v) {
    Int128 r(static_cast<std::int64_t>(v >> 64));
    for (int i = 0; i < 64; ++i)
        r = r + r;
    const auto low = static_cast<std::uint64_t>(v);
    const Int128 upper(static_cast<std::int64_t>(low >> 32));
    Int128 shifted = upper;
    for (int i = 0; i < 32; ++i)
        shifted = shifted + shifted;
    return r + shifted + Int128(static_cast<std::int64_t>(low & 0xFFFFFFFFu));
}

struct Value {
    Int128 ours;
    Wide exact;
};

// 64-bit values: the edges of the range and of the halves, then random ones of every
// magnitude.
std::vector<std::int64_t> Operands(std::mt19937_64& random, int count) {
    std::vector<std::int64_t> v = {0,
                                   1,
                                   -1,
                                   2,
                                   -2,
                                   3,
                                   kMax,
                                   kMin,
                                   kMax - 1,
                                   kMin + 1,
                                   kTwo32,
                                   -kTwo32,
                                   kTwo32 - 1,
                                   kTwo32 + 1,
                                   kTwo32 / 2,
                                   -kTwo32 / 2,
                                   3037000499,
                                   3037000500,
                                   -3037000500,
                                   kTwo53 + 1,
                                   std::int64_t{1} << 62,
                                   -(std::int64_t{1} << 62)};
    for (int i = 0; i < count; ++i) {
        const int bits = static_cast<int>(random() % 64);
        v.push_back(static_cast<std::int64_t>(random()) >> bits);
    }
    return v;
}

// The operands themselves and products of them: values across the whole 127 bits.
std::vector<Value> Values(const std::vector<std::int64_t>& operands, std::mt19937_64& random,
                          int products) {
    std::vector<Value> values;
    for (const std::int64_t a : operands)
        values.push_back({Int128(a), Wide{a}});
    for (int i = 0; i < products; ++i) {
        const std::int64_t a = operands[random() % operands.size()];
        const std::int64_t b = operands[random() % operands.size()];
        values.push_back({Int128::Product(a, b), Wide{a} * b});
    }
    return values;
}

TEST(Int128AgainstWide, ProductsOfEveryEdgeAndRandomValues) {
    const unsigned seed = test::TestSeed();
    std::mt19937_64 random(seed);
    const std::vector<std::int64_t> operands = Operands(random, 200);
    for (const std::int64_t a : operands) {
        for (const std::int64_t b : operands) {
            const Wide exact = Wide{a} * b;
            EXPECT_EQ(Int128::Product(a, b), FromWide(exact))
                << a << " * " << b << " = " << ToString(exact) << ", DORVATH_SEED=" << seed;
        }
        if (HasFailure())
            return;
    }
}

TEST(Int128AgainstWide, SumsDifferencesNegationAndComparisons) {
    const unsigned seed = test::TestSeed();
    std::mt19937_64 random(seed);
    const std::vector<Value> values = Values(Operands(random, 40), random, 300);
    constexpr Wide kTop = Wide{1} << 126;  // min * min, the largest product
    for (const Value& x : values) {
        EXPECT_EQ(-x.ours, FromWide(-x.exact)) << ToString(x.exact) << ", DORVATH_SEED=" << seed;
        for (const Value& y : values) {
            const auto trace = [&] {
                return ToString(x.exact) + " and " + ToString(y.exact) +
                       ", DORVATH_SEED=" + std::to_string(seed);
            };
            if (x.exact != kTop || y.exact != kTop) {  // the one sum beyond 127 bits
                EXPECT_EQ(x.ours + y.ours, FromWide(x.exact + y.exact)) << trace();
            }
            EXPECT_EQ(x.ours - y.ours, FromWide(x.exact - y.exact)) << trace();
            EXPECT_EQ(x.ours < y.ours, x.exact < y.exact) << trace();
            EXPECT_EQ(x.ours > y.ours, x.exact > y.exact) << trace();
            EXPECT_EQ(x.ours <= y.ours, x.exact <= y.exact) << trace();
            EXPECT_EQ(x.ours >= y.ours, x.exact >= y.exact) << trace();
            EXPECT_EQ(x.ours == y.ours, x.exact == y.exact) << trace();
            EXPECT_EQ(x.ours != y.ours, x.exact != y.exact) << trace();
        }
        if (HasFailure())
            return;
    }
}

TEST(Int128AgainstWide, NarrowingAndApproximation) {
    const unsigned seed = test::TestSeed();
    std::mt19937_64 random(seed);
    std::vector<Value> values = Values(Operands(random, 40), random, 2000);
    // Just inside and just outside the 64-bit range.
    for (const Wide edge : {Wide{kMax}, Wide{kMin}}) {
        for (const int d : {-2, -1, 0, 1, 2})
            values.push_back({FromWide(edge + d), edge + d});
    }
    for (const Value& v : values) {
        const bool fits = v.exact >= kMin && v.exact <= kMax;
        EXPECT_EQ(v.ours.FitsInt64(), fits) << ToString(v.exact) << ", DORVATH_SEED=" << seed;
        EXPECT_EQ(v.ours.Negative(), v.exact < 0) << ToString(v.exact);
        if (fits) {
            EXPECT_EQ(v.ours.Low64(), static_cast<std::int64_t>(v.exact)) << ToString(v.exact);
            EXPECT_EQ(v.ours.Approximate(), static_cast<double>(static_cast<std::int64_t>(v.exact)))
                << ToString(v.exact);
        } else {
            // Close: a few roundings of a double, never more.
            const double exact = static_cast<double>(v.exact);
            EXPECT_NEAR(v.ours.Approximate(), exact, std::ldexp(std::abs(exact), -50))
                << ToString(v.exact) << ", DORVATH_SEED=" << seed;
        }
    }
}

// floor(a / b), then clamped to [-limit, limit].
std::int64_t ExactFloorDivClamped(Wide a, std::int64_t b, std::int64_t limit) {
    Wide q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    if (q > limit)
        return limit;
    if (q < -limit)
        return -limit;
    return static_cast<std::int64_t>(q);
}

TEST(Int128AgainstWide, FloorDivClampedIsTheExactQuotient) {
    const unsigned seed = test::TestSeed();
    std::mt19937_64 random(seed);
    const std::vector<std::int64_t> operands = Operands(random, 40);
    const std::vector<Value> values = Values(operands, random, 400);
    std::vector<std::int64_t> divisors = {1,      2,          3,          7,          1024,
                                          kTwo32, kTwo32 - 1, kTwo53 + 1, kTwo60 - 1, kMax};
    for (int i = 0; i < 10; ++i)
        divisors.push_back(
            std::max<std::int64_t>(1, static_cast<std::int64_t>(random() >> 1 >> (random() % 63))));
    // Limits near the top of the range wait for the fix below (the canvas's are far lower).
    const std::int64_t limits[] = {1, 1000, std::numeric_limits<std::int32_t>::max(),
                                   std::int64_t{1} << 62};
    for (const std::int64_t b : divisors) {
        for (const std::int64_t limit : limits) {
            const auto check = [&](const Value& a) {
                EXPECT_EQ(FloorDivClamped(a.ours, b, limit),
                          ExactFloorDivClamped(a.exact, b, limit))
                    << ToString(a.exact) << " / " << b << ", limit " << limit
                    << ", DORVATH_SEED=" << seed;
            };
            for (const Value& a : values)
                check(a);
            // Around exact multiples, where the estimate has to be settled either way:
            // q * b and its neighbours, for quotients inside and at the limits.
            std::uniform_int_distribution<std::int64_t> quotient(-limit, limit);
            for (int i = 0; i < 20; ++i) {
                const std::int64_t q = i == 0 ? limit : i == 1 ? -limit : quotient(random);
                const Wide base = Wide{q} * b;
                for (const Wide a : {base - b, base - 1, base, base + 1, base + b - 1, base + b})
                    check({FromWide(a), a});
            }
            if (HasFailure())
                return;
        }
    }
}

#endif  // __SIZEOF_INT128__

}  // namespace
}  // namespace dorvath

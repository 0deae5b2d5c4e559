#include "canvas/DeviceScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "support/Seed.h"

namespace dorvath {
namespace {

constexpr double kRatios[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};

TEST(DeviceScaleRatio, HeldExactlyForScreenDensitiesAndClampedOtherwise) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double ratio;
        std::int64_t numerator;  // over 1024
    };
    const Case cases[] = {
        {1, 1024},
        {1.25, 1280},
        {1.5, 1536},
        {1.75, 1792},
        {2, 2048},
        {2.5, 2560},
        {3, 3072},
        {1.3, 1331},  // 1331.2: the nearest
        {0.0625, 64},
        {0.01, 64},
        {16, 16384},
        {1e9, 16384},
        {kInf, 16384},
        // No density at all: drawn as it is.
        {0, 1024},
        {-0.0, 1024},
        {-2, 1024},
        {kNaN, 1024},
        {-kInf, 1024},
    };
    for (const Case& c : cases) {
        const DeviceScale scale = DeviceScale::FromRatio(c.ratio);
        EXPECT_EQ(scale.Numerator(), c.numerator) << c.ratio;
        EXPECT_EQ(scale.Ratio(), static_cast<double>(c.numerator) / 1024) << c.ratio;
    }
    EXPECT_EQ(DeviceScale::FromRatio(1), DeviceScale());
}

TEST(DeviceScaleToDevice, ScalesAndRoundsHalvesUp) {
    struct Case {
        double ratio;
        std::int64_t logical, device;
    };
    const Case cases[] = {
        {1.25, 0, 0},   {1.25, 1, 1},   {1.25, 2, 3},   {1.25, 3, 4},   {1.25, 4, 5},
        {1.25, -1, -1}, {1.25, -2, -2}, {1.25, -3, -4}, {1.25, -4, -5}, {1.5, 1, 2},
        {1.5, 2, 3},    {1.5, 3, 5},    {1.5, -1, -1},  {1.5, -3, -4},  {1.75, 1, 2},
        {1.75, 2, 4},   {1.75, -1, -2}, {1.75, -2, -3}, {2, 150, 300},  {2, -3, -6},
        {2.5, 1, 3},    {2.5, 3, 8},    {2.5, -1, -2},  {2.5, -3, -7},  {3, 100, 300},
        {3, -7, -21},   {0.5, 1, 1},    {0.5, 2, 1},    {0.5, -1, 0},   {0.5, -3, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceScale::FromRatio(c.ratio).ToDevice(c.logical), c.device)
            << c.ratio << " x " << c.logical;
    }
    // Against the rounding done in floating point, exact for these ratios.
    for (const double ratio : kRatios) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        for (std::int64_t v = -1000; v <= 1000; ++v) {
            ASSERT_EQ(scale.ToDevice(v), static_cast<std::int64_t>(std::floor(v * ratio + 0.5)))
                << ratio << " x " << v;
        }
    }
}

TEST(DeviceScaleToDevice, ScaleOneIsTheIdentity) {
    const DeviceScale one = DeviceScale::FromRatio(1);
    constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
    for (const std::int64_t v :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{299}, std::int64_t{300},
          std::int64_t{-300}, kInt32Max, kInt32Min, kInt32Max * 1000, kInt32Min * 1000}) {
        EXPECT_EQ(one.ToDevice(v), v);
    }
}

TEST(DeviceScalePen, TheRatioRoundedAtLeastOnePixel) {
    struct Case {
        double ratio;
        std::int32_t width;
    };
    const Case cases[] = {
        {1, 1}, {1.25, 1}, {1.5, 2}, {1.75, 2},   {2, 2},   {2.5, 3},
        {3, 3}, {0.5, 1},  {3.5, 4}, {0.0625, 1}, {16, 16}, {1.4, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceScale::FromRatio(c.ratio).PenWidth(), c.width) << c.ratio;
}

// Random device rectangles, some far outside any surface: the logical rectangle mapped
// back holds the device one, and moving any of its edges in by one would not.
TEST(DeviceScaleOutward, SmallestLogicalRectangleHoldingTheDeviceOne) {
    const unsigned seed = test::TestSeed();
    std::mt19937 random(seed);
    const auto coordinate = [&]() -> std::int32_t {
        return random() % 4 == 0 ? static_cast<std::int32_t>(random() % 200000) - 100000
                                 : static_cast<std::int32_t>(random() % 1400) - 200;
    };
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 0.5, 1.3, 16.0}) {
        const DeviceScale scale = DeviceScale::FromRatio(ratio);
        for (int i = 0; i < 2000; ++i) {
            const std::int32_t x = coordinate(), y = coordinate();
            const TRect device = {x, y, x + 1 + static_cast<std::int32_t>(random() % 700),
                                  y + 1 + static_cast<std::int32_t>(random() % 700)};
            const TRect logical = scale.ToLogicalOutward(device);
            const auto at = [&](std::int32_t v) { return scale.ToDevice(v); };
            const auto where = [&] {
                return ::testing::Message()
                       << "scale " << ratio << ", device " << device.Left << "," << device.Top
                       << " - " << device.Right << "," << device.Bottom << ", logical "
                       << logical.Left << "," << logical.Top << " - " << logical.Right << ","
                       << logical.Bottom << ", DORVATH_SEED=" << seed;
            };
            // Holds it.
            ASSERT_LE(at(logical.Left), device.Left) << where();
            ASSERT_LE(at(logical.Top), device.Top) << where();
            ASSERT_GE(at(logical.Right), device.Right) << where();
            ASSERT_GE(at(logical.Bottom), device.Bottom) << where();
            // The smallest that does.
            ASSERT_GT(at(logical.Left + 1), device.Left) << where();
            ASSERT_GT(at(logical.Top + 1), device.Top) << where();
            ASSERT_LT(at(logical.Right - 1), device.Right) << where();
            ASSERT_LT(at(logical.Bottom - 1), device.Bottom) << where();
        }
    }
}

TEST(DeviceScaleOutward, EmptyAndHandCheckedRectangles) {
    struct Case {
        double ratio;
        TRect device, logical;
    };
    const Case cases[] = {
        {2, {0, 0, 0, 10}, {}},                  // empty stays empty
        {2, {5, 5, 3, 9}, {}},                   // so does one inside out
        {1, {-7, 3, 20, 40}, {-7, 3, 20, 40}},   // scale 1: itself
        {2, {1, 1, 3, 3}, {0, 0, 2, 2}},         // odd edges widen outward
        {2, {2, 2, 4, 4}, {1, 1, 2, 2}},         // even ones map exactly
        {2, {-3, -4, -1, -2}, {-2, -2, 0, -1}},  // below zero rounds down
        {1.5, {0, 0, 3, 3}, {0, 0, 2, 2}},       // logical 1 covers device 2
        {1.5, {2, 2, 3, 3}, {1, 1, 2, 2}},
        {2.5, {0, 0, 600, 750}, {0, 0, 240, 300}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceScale::FromRatio(c.ratio).ToLogicalOutward(c.device), c.logical)
            << c.ratio << ": " << c.device.Left << "," << c.device.Top << " - " << c.device.Right
            << "," << c.device.Bottom;
    }
}

}  // namespace
}  // namespace dorvath

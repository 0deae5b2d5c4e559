#pragma once

#include <cstdint>

#include "canvas/Geometry.h"

namespace dorvath {

// How many device pixels a logical pixel is across: the screen's density. Figures are
// given in logical pixels and drawn in device pixels, each coordinate scaled by the
// ratio; lines and outlines get one width in device pixels everywhere. The ratio is held
// as a fraction over 1024 so that every mapping is exact integer arithmetic: the
// densities screens use (1, 1.25, 1.5, 1.75, 2, 2.5, 3 ...) are exact in it.
class DeviceScale {
public:
    static constexpr std::int64_t kDenominator = 1024;
    static constexpr std::int32_t kMaxPenWidth = 16;

    constexpr DeviceScale() = default;
    // The nearest ratio the canvas can hold, within 1/16 .. 16; a ratio that is not a
    // positive number (0, negative, NaN) gives 1.
    static DeviceScale FromRatio(double ratio);

    constexpr std::int64_t Numerator() const { return numerator_; }
    double Ratio() const { return static_cast<double>(numerator_) / kDenominator; }

    // The device coordinate of a logical one: the logical value scaled, halves rounded up.
    // Logical pixel v covers device pixels ToDevice(v) .. ToDevice(v + 1) - 1.
    std::int64_t ToDevice(std::int64_t logical) const;
    // The width of every line and outline: the ratio rounded, at least one pixel.
    std::int32_t PenWidth() const;
    // The smallest logical rectangle holding a device rectangle.
    TRect ToLogicalOutward(const TRect& device) const;

    friend constexpr bool operator==(DeviceScale, DeviceScale) = default;

private:
    explicit constexpr DeviceScale(std::int64_t numerator) : numerator_(numerator) {}

    std::int64_t numerator_ = kDenominator;
};

}  // namespace dorvath

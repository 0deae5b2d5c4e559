#include "canvas/DeviceScale.h"

#include <algorithm>
#include <cmath>

#include "canvas/IntMath.h"

namespace dorvath {

DeviceScale DeviceScale::FromRatio(double ratio) {
    if (!(ratio > 0))  // also NaN
        return DeviceScale();
    const double clamped = std::clamp(ratio, 1.0 / 16, 16.0);
    return DeviceScale(static_cast<std::int64_t>(std::lround(clamped * kDenominator)));
}

std::int64_t DeviceScale::ToDevice(std::int64_t logical) const {
    return FloorDiv(2 * logical * numerator_ + kDenominator, 2 * kDenominator);
}

std::int32_t DeviceScale::PenWidth() const {
    const std::int64_t rounded = (2 * numerator_ + kDenominator) / (2 * kDenominator);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(rounded, 1, kMaxPenWidth));
}

TRect DeviceScale::ToLogicalOutward(const TRect& device) const {
    if (device.IsEmpty())
        return {};
    // Logical v starts at device ToDevice(v), so the first logical pixel holding device
    // column d is the largest v with ToDevice(v) <= d: found from an estimate.
    const auto first = [&](std::int64_t d) {
        std::int64_t v = FloorDiv(d * kDenominator, numerator_);
        while (ToDevice(v) > d)
            --v;
        while (ToDevice(v + 1) <= d)
            ++v;
        return static_cast<std::int32_t>(v);
    };
    return {first(device.Left), first(device.Top), first(device.Right - 1) + 1,
            first(device.Bottom - 1) + 1};
}

}  // namespace dorvath

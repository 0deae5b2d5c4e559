#include "canvas/EllipseRows.h"

#include <cmath>

#include "canvas/Int128.h"
#include "canvas/IntMath.h"

namespace dorvath {

EllipseRows::EllipseRows(const Box& box)
    : box_(box),
      sx_(box.left + box.right),
      sy_(box.top + box.bottom),
      // Box sides are at most 2^31, so these squares stay below 2^63.
      a2_((box.right - box.left + 1) * (box.right - box.left + 1)),
      b2_((box.bottom - box.top + 1) * (box.bottom - box.top + 1)),
      small_(a2_ < (std::int64_t{1} << 31) && b2_ < (std::int64_t{1} << 31)) {}

std::int64_t EllipseRows::FirstEstimate(std::int64_t limit) const {
    return static_cast<std::int64_t>(
        std::sqrt(static_cast<double>(limit) / static_cast<double>(b2_)));
}

std::int64_t EllipseRows::LargeDxMax(std::int64_t dy2) const {
    const Int128 limit = Int128::Product(a2_, b2_ - dy2);
    const auto inside = [&](std::int64_t dx) { return Int128::Product(dx * dx, b2_) < limit; };
    auto dxMax = static_cast<std::int64_t>(std::sqrt(
        static_cast<double>(a2_) * (static_cast<double>(b2_ - dy2) / static_cast<double>(b2_))));
    while (dxMax > 0 && !inside(dxMax))
        --dxMax;
    while (inside(dxMax + 1))
        ++dxMax;
    return dxMax;
}

}  // namespace dorvath

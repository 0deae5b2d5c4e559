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

// dx^2 / a^2 + dy^2 / b^2 < 1, with dx, dy the doubled offsets of a pixel's centre from
// the ellipse's centre: the largest dx with dx^2 * b2 < a2 * (b2 - dy2), settled exactly
// from an estimate. Rows come in order, so the previous row's answer is a close estimate
// and only the first row needs a square root.
Span EllipseRows::Row(std::int64_t y) const {
    if (y < box_.top || y >= box_.bottom)
        return {};
    const std::int64_t dy = 2 * y + 1 - sy_;
    const std::int64_t dy2 = dy * dy;  // |dy| < 2^31
    if (dy2 >= b2_)
        return {};
    std::int64_t dxMax;
    if (small_) {
        const std::int64_t limit = a2_ * (b2_ - dy2);
        dxMax = hint_ >= 0 ? hint_
                           : static_cast<std::int64_t>(
                                 std::sqrt(static_cast<double>(limit) / static_cast<double>(b2_)));
        while (dxMax > 0 && dxMax * dxMax * b2_ >= limit)
            --dxMax;
        while ((dxMax + 1) * (dxMax + 1) * b2_ < limit)
            ++dxMax;
        hint_ = dxMax;
    } else {
        const Int128 limit = Int128::Product(a2_, b2_ - dy2);
        const auto inside = [&](std::int64_t dx) { return Int128::Product(dx * dx, b2_) < limit; };
        dxMax = static_cast<std::int64_t>(
            std::sqrt(static_cast<double>(a2_) *
                      (static_cast<double>(b2_ - dy2) / static_cast<double>(b2_))));
        while (dxMax > 0 && !inside(dxMax))
            --dxMax;
        while (inside(dxMax + 1))
            ++dxMax;
    }
    // dx = 2x + 1 - sx, so |dx| <= dxMax bounds x on both sides.
    return {CeilHalf(sx_ - 1 - dxMax), FloorHalf(sx_ - 1 + dxMax)};
}

}  // namespace dorvath

#pragma once

#include <cstdint>

#include "canvas/Box.h"
#include "canvas/IntMath.h"
#include "canvas/Runs.h"

namespace dorvath {

// Which columns of each row the ellipse inscribed in a box covers. A pixel belongs to it
// when its centre lies strictly inside the ellipse grown by half a pixel all round: the
// boundary then runs through the pixels nearest the true curve, the figure fills exactly
// its box, and a line of the radius's length drawn from the centre stays inside the disc
// at every angle. Coordinates are doubled so that pixel centres and the ellipse's
// centre are integers.
class EllipseRows {
public:
    explicit EllipseRows(const Box& box);

    std::int64_t Top() const { return box_.top; }
    std::int64_t Bottom() const { return box_.bottom; }
    std::int64_t DoubledCentreX() const { return sx_; }
    std::int64_t DoubledCentreY() const { return sy_; }

    // The columns of row y inside the ellipse. Rows asked for in order cost least.
    Span Row(std::int64_t y) const {
        if (y < box_.top || y >= box_.bottom)
            return {};
        const std::int64_t dy = 2 * y + 1 - sy_;
        const std::int64_t dy2 = dy * dy;  // |dy| < 2^31
        if (dy2 >= b2_)
            return {};
        const std::int64_t dxMax = small_ ? SmallDxMax(dy2) : LargeDxMax(dy2);
        // dx = 2x + 1 - sx, so |dx| <= dxMax bounds x on both sides.
        return {CeilHalf(sx_ - 1 - dxMax), FloorHalf(sx_ - 1 + dxMax)};
    }

private:
    // The largest dx with dx^2 * b2 < a2 * (b2 - dy2), settled exactly from an estimate.
    // Rows come in order, so the previous row's answer is a close estimate and only the
    // first row needs a square root.
    std::int64_t SmallDxMax(std::int64_t dy2) const {
        const std::int64_t limit = a2_ * (b2_ - dy2);
        std::int64_t dxMax = hint_ >= 0 ? hint_ : FirstEstimate(limit);
        while (dxMax > 0 && dxMax * dxMax * b2_ >= limit)
            --dxMax;
        while ((dxMax + 1) * (dxMax + 1) * b2_ < limit)
            ++dxMax;
        hint_ = dxMax;
        return dxMax;
    }
    std::int64_t FirstEstimate(std::int64_t limit) const;
    // The same for figures whose products need 128 bits.
    std::int64_t LargeDxMax(std::int64_t dy2) const;

    Box box_;
    std::int64_t sx_, sy_;
    std::int64_t a2_, b2_;            // doubled semi-axes of the grown ellipse, squared
    bool small_;                      // every product of the test fits in 64 bits
    mutable std::int64_t hint_ = -1;  // the last row's answer: only a starting guess
};

}  // namespace dorvath

#pragma once

#include <cstdint>

#include <algorithm>

#include "canvas/Int128.h"
#include "canvas/IntMath.h"
#include "canvas/Runs.h"

namespace dorvath {

// Which columns of each row lie in the wedge swept counterclockwise on the screen from
// the radial toward a to the radial toward b, both from a centre, all in doubled
// coordinates (a pixel's centre is 2x + 1) with y pointing down as on the surface.
// Within a row each bounding half-plane is a half-line of columns, so a row of a wedge
// of up to half a turn is one run, and of more than half a turn at most two.
class WedgeRows {
public:
    WedgeRows(std::int64_t doubledCentreX, std::int64_t doubledCentreY, std::int64_t doubledAX,
              std::int64_t doubledAY, std::int64_t doubledBX, std::int64_t doubledBY);

    bool IsConvex() const { return kind_ != Kind::kMoreThanHalf; }

    // A row of a wedge of up to half a turn (IsConvex): one run.
    Span ConvexRow(std::int64_t y) const;
    // A row of a wedge of more than half a turn: up to two runs.
    Runs WideRow(std::int64_t y) const;

private:
    enum class Kind { kFull, kHalf, kAtMostHalf, kMoreThanHalf };
    enum class Side { kAtMost, kAtLeast };

    std::int64_t PyOf(std::int64_t y) const { return sy_ - (2 * y + 1); }
    Span AfterA(std::int64_t y) const;
    Span BeforeB(std::int64_t y) const;
    Span Solve(std::int64_t k, std::int64_t m, std::int64_t py, Side side) const;

    std::int64_t sx_, sy_;
    std::int64_t ax_, ay_, bx_, by_;  // the radials' directions, y pointing up
    Kind kind_;
};

// Inline: a wedge asks for these once or twice a row.
inline Span WedgeRows::ConvexRow(std::int64_t y) const {
    if (kind_ == Kind::kFull)
        return Span::All();
    if (kind_ == Kind::kHalf)
        return AfterA(y);
    return AfterA(y).Intersected(BeforeB(y));
}

// At or after a: cross(a, p) >= 0, i.e. ay * px <= ax * py; at or before b:
// cross(p, b) >= 0, i.e. by * px >= bx * py.
inline Span WedgeRows::AfterA(std::int64_t y) const {
    return Solve(ay_, ax_, PyOf(y), Side::kAtMost);
}
inline Span WedgeRows::BeforeB(std::int64_t y) const {
    return Solve(by_, bx_, PyOf(y), Side::kAtLeast);
}

// The columns x whose doubled offset px = 2x + 1 - sx satisfies k * px <= m * py (or >=).
inline Span WedgeRows::Solve(std::int64_t k, std::int64_t m, std::int64_t py, Side side) const {
    if (k < 0) {
        k = -k;
        m = -m;
        side = side == Side::kAtMost ? Side::kAtLeast : Side::kAtMost;
    }
    constexpr std::int64_t kSmall = std::int64_t{1} << 31;
    const bool small = m > -kSmall && m < kSmall && py > -kSmall && py < kSmall;
    if (k == 0) {
        const bool negative = small ? m * py < 0 : Int128::Product(m, py).Negative();
        const bool zero = m == 0 || py == 0;
        const bool holds = side == Side::kAtMost ? !negative : (negative || zero);
        return holds ? Span::All() : Span{};
    }
    // px = floor(c / k), or rounded up; beyond +-4 kFar every column is on one side. A
    // figure of ordinary size takes the 64-bit path, with the same result.
    constexpr std::int64_t kLimit = 4 * kFar;
    const auto floorDiv = [&](bool negate) {
        if (small) {
            const std::int64_t c = negate ? -(m * py) : m * py;
            return std::clamp(FloorDiv(c, k), -kLimit, kLimit);
        }
        const Int128 c = Int128::Product(m, py);
        return FloorDivClamped(negate ? -c : c, k, kLimit);
    };
    if (side == Side::kAtMost)
        return {-kFar, FloorHalf(floorDiv(false) + sx_ - 1)};
    return {CeilHalf(-floorDiv(true) + sx_ - 1), kFar};
}

}  // namespace dorvath

#include "canvas/WedgeRows.h"

#include <algorithm>
#include <utility>

#include "canvas/Int128.h"
#include "canvas/IntMath.h"

namespace dorvath {
namespace {

Runs Union(Span a, Span b) {
    if (a.Empty())
        return Runs(b);
    if (b.Empty())
        return Runs(a);
    if (b.first < a.first)
        std::swap(a, b);
    if (b.first <= a.last + 1)
        return Runs(Span{a.first, std::max(a.last, b.last)});
    Runs out(a);
    out.Add(b);
    return out;
}

}  // namespace

WedgeRows::WedgeRows(std::int64_t doubledCentreX, std::int64_t doubledCentreY,
                     std::int64_t doubledAX, std::int64_t doubledAY, std::int64_t doubledBX,
                     std::int64_t doubledBY)
    : sx_(doubledCentreX),
      sy_(doubledCentreY),
      ax_(doubledAX - sx_),
      ay_(sy_ - doubledAY),
      bx_(doubledBX - sx_),
      by_(sy_ - doubledBY) {
    // A radial point on the centre gives no direction; take the rightward one.
    if (ax_ == 0 && ay_ == 0)
        ax_ = 1;
    if (bx_ == 0 && by_ == 0)
        bx_ = 1;
    const Int128 cross = Int128::Product(ax_, by_) - Int128::Product(ay_, bx_);
    const Int128 dot = Int128::Product(ax_, bx_) + Int128::Product(ay_, by_);
    if (cross == 0 && dot > 0) {
        kind_ = Kind::kFull;  // the arc goes all the way round
    } else if (cross == 0) {
        kind_ = Kind::kHalf;  // opposite radials: one straight edge
    } else {
        kind_ = cross > 0 ? Kind::kAtMostHalf : Kind::kMoreThanHalf;
    }
}

Span WedgeRows::ConvexRow(std::int64_t y) const {
    if (kind_ == Kind::kFull)
        return Span::All();
    if (kind_ == Kind::kHalf)
        return AfterA(y);
    return AfterA(y).Intersected(BeforeB(y));
}

Runs WedgeRows::WideRow(std::int64_t y) const {
    return Union(AfterA(y), BeforeB(y));
}

// At or after a: cross(a, p) >= 0, i.e. ay * px <= ax * py; at or before b:
// cross(p, b) >= 0, i.e. by * px >= bx * py.
Span WedgeRows::AfterA(std::int64_t y) const {
    return Solve(ay_, ax_, PyOf(y), Side::kAtMost);
}
Span WedgeRows::BeforeB(std::int64_t y) const {
    return Solve(by_, bx_, PyOf(y), Side::kAtLeast);
}

// The columns x whose doubled offset px = 2x + 1 - sx satisfies k * px <= m * py (or >=).
Span WedgeRows::Solve(std::int64_t k, std::int64_t m, std::int64_t py, Side side) const {
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

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

Runs WedgeRows::WideRow(std::int64_t y) const {
    return Union(AfterA(y), BeforeB(y));
}

}  // namespace dorvath

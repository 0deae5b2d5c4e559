#pragma once

#include <cstdint>

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

}  // namespace dorvath

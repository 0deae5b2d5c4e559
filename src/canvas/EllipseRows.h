#pragma once

#include <cstdint>

#include "canvas/Box.h"
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
    Span Row(std::int64_t y) const;

private:
    Box box_;
    std::int64_t sx_, sy_;
    std::int64_t a2_, b2_;            // doubled semi-axes of the grown ellipse, squared
    bool small_;                      // every product of the test fits in 64 bits
    mutable std::int64_t hint_ = -1;  // the last row's answer: only a starting guess
};

}  // namespace dorvath

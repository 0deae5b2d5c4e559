#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "canvas/DeviceScale.h"
#include "canvas/Geometry.h"
#include "canvas/Int128.h"
#include "canvas/IntMath.h"
#include "canvas/Runs.h"

namespace dorvath {

// Which device pixels a line covers: the line between two logical points without its
// end pixel, scaled, and as wide as the pen. It steps along its longer axis; each step
// covers the device pixels of one logical pixel along that axis, and across it as many
// pixels as the pen is wide, centred on the true line. At a ratio of one this is the
// classic one-pixel line: the other coordinate of step t is the start's plus
// round(t * delta / steps), halves rounded up.
//
// Only what lies within the device surface (width x height) is produced, so huge lines
// cost no more than the surface is wide. Each run goes to sink(y, x0, x1): row y,
// columns x0..x1.
template <typename RowRunSink>
void LineRows(TPoint from, TPoint to, const DeviceScale& scale, std::int64_t deviceWidth,
              std::int64_t deviceHeight, const RowRunSink& sink) {
    const std::int64_t dx = static_cast<std::int64_t>(to.X) - from.X;
    const std::int64_t dy = static_cast<std::int64_t>(to.Y) - from.Y;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t majorStart = xMajor ? from.X : from.Y;
    const std::int64_t minorStart = xMajor ? from.Y : from.X;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t steps = std::llabs(majorDelta);
    const std::int64_t dir = majorDelta > 0 ? 1 : -1;
    const std::int64_t majorLimit = xMajor ? deviceWidth : deviceHeight;
    const std::int64_t minorLimit = xMajor ? deviceHeight : deviceWidth;
    const std::int64_t width = scale.PenWidth();

    // The device pixels along the major axis: those of the logical pixels drawn.
    const std::int64_t firstLogical = dir > 0 ? majorStart : majorStart - steps + 1;
    const std::int64_t iFirst = std::max<std::int64_t>(scale.ToDevice(firstLogical), 0);
    const std::int64_t iLast = std::min(scale.ToDevice(firstLogical + steps), majorLimit) - 1;
    if (iFirst > iLast)
        return;

    // In units of 1 / (2 q) device pixels, a logical pixel v's centre lies at (2v + 1) p
    // and device pixel i's at (2i + 1) q. The true line's minor coordinate at device
    // pixel i is then cm + ((2i + 1) q - cM) * slope, and the pen's first pixel across
    // is that minus half the pen, rounded: floor(num(i) / den) with
    //   num(i) = cm n + ((2i + 1) q - cM) dm' - (w - 1) q n,   den = 2 q n,
    // where n = steps and dm' = minorDelta * dir, so that slope = dm' / n.
    const std::int64_t p = scale.Numerator();
    constexpr std::int64_t q = DeviceScale::kDenominator;
    const std::int64_t cm = (2 * minorStart + 1) * p;
    const std::int64_t cM = (2 * majorStart + 1) * p;
    const std::int64_t slopeNum = minorDelta * dir;
    const std::int64_t den = 2 * q * steps;
    const Int128 num = Int128::Product(cm, steps) +
                       Int128::Product((2 * iFirst + 1) * q - cM, slopeNum) -
                       Int128::Product((width - 1) * q, steps);
    std::int64_t minor = FloorDivClamped(num, den, kFar);
    // The line moves at most one pixel across per pixel along, and there are no more
    // steps than the surface is wide: a start this far off never reaches the surface.
    if (minor <= -kFar || minor >= kFar)
        return;
    std::int64_t rem = (num - Int128::Product(minor, den)).Low64();
    const std::int64_t step = 2 * q * slopeNum;  // |step| <= den: at most one carry

    const auto advance = [&] {
        rem += step;
        if (rem >= den) {
            rem -= den;
            ++minor;
        } else if (rem < 0) {
            rem += den;
            --minor;
        }
    };
    if (xMajor) {
        // Consecutive columns at the same height make one run on each row the pen covers.
        std::int64_t runStart = iFirst;
        for (std::int64_t i = iFirst; i <= iLast; ++i) {
            const std::int64_t here = minor;
            advance();
            if (i == iLast || minor != here) {
                for (std::int64_t k = 0; k < width; ++k) {
                    if (here + k >= 0 && here + k < minorLimit)
                        sink(here + k, runStart, i);
                }
                runStart = i + 1;
            }
        }
    } else {
        for (std::int64_t i = iFirst; i <= iLast; ++i) {
            sink(i, minor, minor + width - 1);
            advance();
        }
    }
}

}  // namespace dorvath

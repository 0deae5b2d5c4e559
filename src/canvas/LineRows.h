#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "canvas/DeviceScale.h"
#include "canvas/Geometry.h"
#include "canvas/Int128.h"
#include "canvas/IntMath.h"
#include "canvas/Runs.h"

namespace dorvath {

// Which device pixels a line covers: the line between two logical points, scaled, without
// its end pixel, and as wide as the pen. A logical point's anchor is the centre of the
// first device pixel of its block; the line runs from anchor to anchor, stepping along
// its longer axis from the device pixel holding the start's anchor up to, not including,
// the one holding the end's, and covers across as many pixels as the pen is wide,
// centred on the true line. At a ratio of one this is the classic one-pixel line: the
// other coordinate of step t is the start's plus round(t * delta / steps), halves
// rounded up.
//
// A slanted line's far end is also cut square to it, half a logical pixel's worth of
// device pixels at a ratio of one and less as they get finer (0.5 / ratio device pixels)
// past the place of the last logical pixel drawn. Cut across the major axis alone, the
// pen's far corner would reach past a disc as wide as the line is long: a slanted line is
// longer than its steps. At a ratio of one the cut takes nothing away.
//
// Only what lies within the device surface (width x height) is produced, so huge lines
// cost no more than the surface is wide. The pixels go to out.Run(y, x0, x1), row y,
// columns x0..x1, and a vertical line's to out.Block(y0, y1, x0, x1) at once.
template <typename Writer>
void LineRows(TPoint from, TPoint to, const DeviceScale& scale, std::int64_t deviceWidth,
              std::int64_t deviceHeight, Writer& out) {
    const auto sink = [&](std::int64_t y, std::int64_t x0, std::int64_t x1) { out.Run(y, x0, x1); };
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

    // Along the major axis: from the start's device pixel up to the end's, without it.
    const std::int64_t startPixel = scale.ToDevice(majorStart);
    const std::int64_t endPixel = scale.ToDevice(majorStart + majorDelta);
    const std::int64_t iFirst = std::max<std::int64_t>(dir > 0 ? startPixel : endPixel + 1, 0);
    const std::int64_t iLast = std::min(dir > 0 ? endPixel - 1 : startPixel, majorLimit - 1);
    if (iFirst > iLast)
        return;

    // In units of 1 / (2 q) device pixels, a logical coordinate v's anchor lies at
    // 2 v p + q and device pixel i's centre at (2i + 1) q. The true line's minor coordinate
    // at device pixel i is then cm + ((2i + 1) q - cM) * slope, and the pen's first pixel
    // across is that minus half the pen, rounded: floor(num(i) / den) with
    //   num(i) = cm n + ((2i + 1) q - cM) dm' - (w - 1) q n,   den = 2 q n,
    // where n = steps and dm' = minorDelta * dir, so that slope = dm' / n.
    const std::int64_t p = scale.Numerator();
    constexpr std::int64_t q = DeviceScale::kDenominator;
    const std::int64_t cm = 2 * minorStart * p + q;
    const std::int64_t cM = 2 * majorStart * p + q;
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

    // The square cut, in device pixels from the start's anchor: only pixels within the
    // last logical step along can reach it.
    const bool slanted = minorDelta != 0;
    const double ratio = scale.Ratio();
    const double n = static_cast<double>(steps), m = static_cast<double>(minorDelta);
    const double length = std::sqrt(n * n + m * m);
    const double capLimit = (n - 1) * length / n * ratio + 0.5 / ratio;
    const double majorAnchor = static_cast<double>(majorStart) * ratio + 0.5;
    const double minorAnchor = static_cast<double>(minorStart) * ratio + 0.5;
    const auto along = [&](std::int64_t i) {
        return (static_cast<double>(i) + 0.5 - majorAnchor) * static_cast<double>(dir);
    };
    const auto nearTheEnd = [&](std::int64_t i) { return slanted && along(i) > (n - 1.5) * ratio; };
    const auto withinCap = [&](std::int64_t i, std::int64_t j) {
        const double a = static_cast<double>(i) + 0.5 - majorAnchor;
        const double b = static_cast<double>(j) + 0.5 - minorAnchor;
        return (a * static_cast<double>(majorDelta) + b * m) / length <= capLimit;
    };
    const auto plot = [&](std::int64_t i, std::int64_t j) {  // major i, minor j
        if (withinCap(i, j)) {
            if (xMajor)
                sink(j, i, i);
            else
                sink(i, j, j);
        }
    };

    if (!slanted && xMajor) {  // level: one run on each row the pen covers
        for (std::int64_t k = 0; k < width; ++k)
            sink(minor + k, iFirst, iLast);
    } else if (!slanted) {  // upright: one block, the pen's width across
        out.Block(iFirst, iLast, minor, minor + width - 1);
    } else if (xMajor) {
        // Consecutive columns at the same height make one run on each row the pen covers.
        std::int64_t runStart = iFirst;
        const auto flush = [&](std::int64_t height, std::int64_t last) {
            for (std::int64_t k = 0; k < width && runStart <= last; ++k) {
                if (height + k >= 0 && height + k < minorLimit)
                    sink(height + k, runStart, last);
            }
        };
        for (std::int64_t i = iFirst; i <= iLast; ++i) {
            const std::int64_t here = minor;
            advance();
            if (nearTheEnd(i)) {
                flush(here, i - 1);
                for (std::int64_t k = 0; k < width; ++k)
                    plot(i, here + k);
                runStart = i + 1;
            } else if (i == iLast || minor != here) {
                flush(here, i);
                runStart = i + 1;
            }
        }
    } else {
        for (std::int64_t i = iFirst; i <= iLast; ++i) {
            if (nearTheEnd(i)) {
                for (std::int64_t k = 0; k < width; ++k)
                    plot(i, minor + k);
            } else {
                sink(i, minor, minor + width - 1);
            }
            advance();
        }
    }
}

}  // namespace dorvath

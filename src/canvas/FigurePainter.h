#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "canvas/Color.h"
#include "canvas/DeviceScale.h"
#include "canvas/RunWriter.h"
#include "canvas/Runs.h"

namespace dorvath {

// Paints a closed figure given as the columns it covers in each row (a Span or Runs for
// rowOf(y)), rows top..bottom - 1. The outline is every covered pixel with an uncovered
// pixel at most penWidth away straight left, right, up or down: the rim of an ellipse,
// or the arc and both radials of a wedge alike, the same width everywhere along and
// across. The rest is the inside, filled unless fill is false.
template <typename RowOf>
void PaintFigure(RunWriter& out, std::int64_t surfaceHeight, std::int64_t top, std::int64_t bottom,
                 std::int32_t penWidth, Rgb32 pen, bool fill, Rgb32 brush, const RowOf& rowOf) {
    const std::int64_t yFirst = std::max<std::int64_t>(top, 0);
    const std::int64_t yLast = std::min<std::int64_t>(bottom, surfaceHeight) - 1;
    if (yFirst > yLast)
        return;
    using Row = decltype(rowOf(yFirst));
    const auto paintRow = [&](std::int64_t y, const Row& row, const Row& inside) {
        RunWriter::OnRow line(out, y);
        for (const Span& run : row) {
            std::int64_t x = run.first;
            for (const Span& in : inside) {
                if (in.first < run.first || in.last > run.last)
                    continue;
                line.Run(x, in.first - 1, pen);
                if (fill)
                    line.Run(in.first, in.last, brush);
                x = in.last + 1;
            }
            line.Run(x, run.last, pen);
        }
    };
    const std::int64_t w = penWidth;
    if (w == 1) {  // the plain density: the rows above and below are all it takes
        Row above = rowOf(yFirst - 1);
        Row row = rowOf(yFirst);
        for (std::int64_t y = yFirst; y <= yLast; ++y) {
            Row below = rowOf(y + 1);
            paintRow(y, row, row.Eroded(1).Intersected(above).Intersected(below));
            above = row;
            row = below;
        }
        return;
    }
    // Rows y - w .. y + w, kept in a ring as they are asked for, in order.
    constexpr std::size_t kRing = 64;  // a power of two above 2 * kMaxPenWidth + 1
    static_assert(kRing > 2 * DeviceScale::kMaxPenWidth + 1);
    std::array<Row, kRing> ring;
    const auto slot = [&](std::int64_t y) -> Row& {
        return ring[static_cast<std::size_t>(y - yFirst + w) & (kRing - 1)];
    };
    for (std::int64_t y = yFirst - w; y < yFirst + w; ++y)
        slot(y) = rowOf(y);
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        slot(y + w) = rowOf(y + w);
        const Row& row = slot(y);
        Row inside = row.Eroded(w);
        for (std::int64_t k = 1; k <= w; ++k)
            inside = inside.Intersected(slot(y - k)).Intersected(slot(y + k));
        paintRow(y, row, inside);
    }
}

}  // namespace dorvath

#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "canvas/Bitmap.h"
#include "canvas/Geometry.h"

namespace dorvath {

// The only writer of pixels: every figure and line reaches the surface as runs of one
// row, here, clipped to the surface, and the changed region is kept in this one place.
class RunWriter {
public:
    explicit RunWriter(Bitmap& bitmap) : bitmap_(bitmap) {}

    // Row y, columns x0..x1 inclusive, in one value. Only the stretch that differs is
    // written and counts as changed: a frame mostly repaints what is there (the Sun, the
    // orbit, an axis that the Sun's fill crossed), and a repaint should cover no more than
    // it must.
    void Run(std::int64_t y, std::int64_t x0, std::int64_t x1, Rgb32 value) {
        if (y < 0 || y >= bitmap_.Height())
            return;
        OnRow row(*this, y);
        row.Run(x0, x1, value);
    }

    // The runs of one row, for a figure that writes several: the row is checked once and
    // its changes noted once, when this goes.
    class OnRow {
    public:
        // y must lie on the surface.
        OnRow(RunWriter& writer, std::int64_t y)
            : writer_(writer), row_(writer.bitmap_.Row(static_cast<std::int32_t>(y))), y_(y) {}
        ~OnRow() {
            if (first_ <= last_)
                writer_.Note(y_, first_, last_);
        }
        OnRow(const OnRow&) = delete;
        OnRow& operator=(const OnRow&) = delete;

        void Run(std::int64_t x0, std::int64_t x1, Rgb32 value) {
            x0 = std::max<std::int64_t>(x0, 0);
            x1 = std::min<std::int64_t>(x1, writer_.bitmap_.Width() - 1);
            while (x0 <= x1 && row_[x0] == value)
                ++x0;
            if (x0 > x1)
                return;
            while (row_[x1] == value)
                --x1;
            std::fill(row_ + x0, row_ + x1 + 1, value);
            first_ = std::min(first_, x0);
            last_ = std::max(last_, x1);
        }

    private:
        RunWriter& writer_;
        Rgb32* row_;
        std::int64_t y_;
        std::int64_t first_ = std::numeric_limits<std::int64_t>::max();
        std::int64_t last_ = std::numeric_limits<std::int64_t>::min();
    };

    // Rows y0..y1, columns x0..x1 inclusive, in one value: a vertical line's pixels, in
    // one pass down the rows rather than a run a row.
    void Block(std::int64_t y0, std::int64_t y1, std::int64_t x0, std::int64_t x1, Rgb32 value) {
        y0 = std::max<std::int64_t>(y0, 0);
        y1 = std::min<std::int64_t>(y1, bitmap_.Height() - 1);
        x0 = std::max<std::int64_t>(x0, 0);
        x1 = std::min<std::int64_t>(x1, bitmap_.Width() - 1);
        if (y0 > y1 || x0 > x1)
            return;
        std::int64_t first = y1 + 1, last = y0 - 1;
        const std::int64_t stride = bitmap_.Width(), columns = x1 - x0 + 1;
        Rgb32* row = bitmap_.Row(static_cast<std::int32_t>(y0)) + x0;
        for (std::int64_t y = y0; y <= y1; ++y, row += stride) {
            Rgb32 difference = 0;
            for (std::int64_t x = 0; x < columns; ++x) {
                difference |= row[x] ^ value;
                row[x] = value;
            }
            if (difference != 0) {
                first = std::min(first, y);
                last = y;
            }
        }
        if (first > last)
            return;
        left_ = std::min(left_, x0);
        right_ = std::max(right_, x1 + 1);
        top_ = std::min(top_, first);
        bottom_ = std::max(bottom_, last + 1);
    }

    // A rectangle holding every pixel changed since the last call; empty when none was.
    TRect TakeChanged() {
        TRect changed;
        if (left_ < right_) {
            changed = {static_cast<std::int32_t>(left_), static_cast<std::int32_t>(top_),
                       static_cast<std::int32_t>(right_), static_cast<std::int32_t>(bottom_)};
        }
        left_ = top_ = std::numeric_limits<std::int64_t>::max();
        right_ = bottom_ = std::numeric_limits<std::int64_t>::min();
        return changed;
    }

private:
    void Note(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        left_ = std::min(left_, x0);
        right_ = std::max(right_, x1 + 1);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y + 1);
    }

    Bitmap& bitmap_;
    std::int64_t left_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t top_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t right_ = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom_ = std::numeric_limits<std::int64_t>::min();
};

}  // namespace dorvath

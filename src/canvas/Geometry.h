#pragma once

#include <algorithm>
#include <cstdint>

namespace dorvath {

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Half-open: covers columns Left .. Right-1 and rows Top .. Bottom-1.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    std::int32_t Width() const { return IsEmpty() ? 0 : Right - Left; }
    std::int32_t Height() const { return IsEmpty() ? 0 : Bottom - Top; }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    // Smallest rectangle holding both; an empty side contributes nothing.
    TRect United(const TRect& o) const {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
                std::max(Bottom, o.Bottom)};
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace dorvath

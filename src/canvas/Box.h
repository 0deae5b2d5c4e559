#pragma once

#include <algorithm>
#include <cstdint>

namespace dorvath {

// A figure's rectangle in surface pixels, left and top included, right and bottom
// excluded; never inverted.
struct Box {
    std::int64_t left, top, right, bottom;

    // Coordinates beyond +-2^30 are clamped there: such figures dwarf any surface, and the
    // clamp keeps every product of the ellipse test within 128 bits.
    static Box Normalised(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
        const auto c = [](std::int64_t v) {
            constexpr std::int64_t kLimit = std::int64_t{1} << 30;
            return std::clamp<std::int64_t>(v, -kLimit, kLimit);
        };
        return {std::min(c(x1), c(x2)), std::min(c(y1), c(y2)), std::max(c(x1), c(x2)),
                std::max(c(y1), c(y2))};
    }
    bool Empty() const { return right <= left || bottom <= top; }
};

}  // namespace dorvath

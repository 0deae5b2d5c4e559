#pragma once

#include <cstdint>
#include <vector>

#include "canvas/Color.h"

namespace dorvath {

// A retained surface of 32-bit pixels; it keeps its contents from frame to frame.
class Bitmap {
public:
    Bitmap(std::int32_t width, std::int32_t height, TColor fill = clWhite);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

    TColor Pixel(std::int32_t x, std::int32_t y) const;
    // Rows of Width() pixels, top row first, each 0xFFRRGGBB.
    const Rgb32* Bits() const { return pixels_.data(); }
    Rgb32* Row(std::int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Rgb32* Row(std::int32_t y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::int32_t BytesPerLine() const { return width_ * static_cast<std::int32_t>(sizeof(Rgb32)); }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    std::int32_t width_;
    std::int32_t height_;
    std::vector<Rgb32> pixels_;
};

}  // namespace dorvath

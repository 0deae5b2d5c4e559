#include "canvas/Bitmap.h"

#include <algorithm>

namespace dorvath {

Bitmap::Bitmap(std::int32_t width, std::int32_t height, TColor fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, ToRgb32(fill)) {}

TColor Bitmap::Pixel(std::int32_t x, std::int32_t y) const {
    return FromRgb32(Row(y)[x]);
}

}  // namespace dorvath

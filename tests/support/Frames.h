#pragma once

// Pictures to hold the program's against, and how two pictures differ. Header only,
// with neither a test framework nor Qt: the benchmarks use it too.

#include <algorithm>
#include <cstdint>

#include "canvas/Bitmap.h"
#include "canvas/BitmapCanvas.h"
#include "canvas/Geometry.h"
#include "scene/Scene.h"
#include "state/PlanetState.h"

namespace dorvath::test {

// The frame a fresh surface shows for this state's current position: a white surface
// and one frame whose erase and planet are both at OrbitAngle, at the given density.
inline Bitmap FrameFromScratch(const PlanetState& state, std::int32_t width = 300,
                               std::int32_t height = 300, DeviceScale scale = {}) {
    PlanetState settled = state;
    settled.CommitDrawn();
    BitmapCanvas canvas(width, height, settled.BackColor, scale);
    DrawScene(canvas, settled);
    return canvas.Pixels();
}

inline Bitmap FrameFromScratch(const PlanetState& state, DeviceScale scale) {
    return FrameFromScratch(state, 300, 300, scale);
}

struct PixelDifference {
    std::int64_t count = 0;  // pixels that differ
    TRect area;              // the smallest rectangle holding them all
    TPoint first;            // the first of them, row by row; meaningless when count is 0
};

// How two pictures of the same size differ, pixel by pixel.
inline PixelDifference Difference(const Bitmap& a, const Bitmap& b) {
    PixelDifference d;
    const std::int32_t width = std::min(a.Width(), b.Width());
    const std::int32_t height = std::min(a.Height(), b.Height());
    for (std::int32_t y = 0; y < height; ++y) {
        const Rgb32* rowA = a.Row(y);
        const Rgb32* rowB = b.Row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            if (rowA[x] == rowB[x])
                continue;
            if (d.count++ == 0)
                d.first = {x, y};
            d.area = d.area.United({x, y, x + 1, y + 1});
        }
    }
    return d;
}

}  // namespace dorvath::test

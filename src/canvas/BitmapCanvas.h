#pragma once

#include <cstdint>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/DeviceScale.h"
#include "canvas/RunWriter.h"

namespace dorvath {

// Draws onto a Bitmap it owns, pixel-exact and without antialiasing: the same figure
// always covers the same pixels, so painting it again in the background colour removes
// it without a trace. Everything is clipped to the bitmap.
//
// Callers think in logical pixels; the bitmap holds device pixels, the logical size
// times the scale. Each figure is drawn at device resolution, its geometry scaled, with
// lines and outlines one pen width wide.
class BitmapCanvas final : public Canvas {
public:
    BitmapCanvas(std::int32_t width, std::int32_t height, TColor fill = clWhite,
                 DeviceScale scale = {});
    BitmapCanvas(const BitmapCanvas& other);
    BitmapCanvas& operator=(const BitmapCanvas& other);

    // The logical size, in which figures are given.
    std::int32_t Width() const override { return width_; }
    std::int32_t Height() const override { return height_; }
    const DeviceScale& Scale() const { return scale_; }
    // The device pixels.
    const Bitmap& Pixels() const { return bitmap_; }

    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
             std::int32_t y3, std::int32_t x4, std::int32_t y4) override;
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;

    // A rectangle of device pixels holding every pixel whose value changed since the last
    // call; empty when none did. Lets a display repaint only what the drawing changed. It
    // is the bounds of the changed runs, so it may also hold pixels a figure changed and a
    // later one changed back (the Sun's fill over the axes the axes redraw).
    TRect TakeChangedRect() { return writer_.TakeChanged(); }

protected:
    void DrawLine(TPoint from, TPoint to) override;

private:
    template <typename RowOf>
    void Paint(std::int64_t top, std::int64_t bottom, const RowOf& rowOf);

    std::int32_t width_, height_;
    DeviceScale scale_;
    Bitmap bitmap_;
    RunWriter writer_;
};

}  // namespace dorvath

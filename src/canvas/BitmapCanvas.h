#pragma once

#include <cstdint>

#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"

namespace dorvath {

// Draws onto a Bitmap it owns, pixel-exact and without antialiasing: the same figure
// always covers the same pixels, so painting it again in the background colour
// removes it without a trace. Everything is clipped to the bitmap.
class BitmapCanvas final : public Canvas {
public:
    BitmapCanvas(std::int32_t width, std::int32_t height, TColor fill = clWhite);

    std::int32_t Width() const override { return bitmap_.Width(); }
    std::int32_t Height() const override { return bitmap_.Height(); }
    const Bitmap& Pixels() const { return bitmap_; }

    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
             std::int32_t y3, std::int32_t x4, std::int32_t y4) override;
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;

    // A rectangle holding every pixel whose value changed since the last call; empty when
    // none did. Lets a display repaint only what the drawing changed. It is the bounds
    // of the runs that changed anything, so it may also hold pixels a figure changed
    // and a later one changed back (the Sun's fill over the axes the axes redraw).
    TRect TakeChangedRect();

protected:
    void DrawLine(TPoint from, TPoint to) override;

private:
    // Draws a figure given as the covered columns of each of its rows.
    template <typename RowOf>
    void PaintFigure(std::int64_t top, std::int64_t bottom, const RowOf& rowOf);

    // The only writers of pixels: all clip to the bitmap and track changes.
    template <typename Writes>
    void EditRow(std::int64_t y, Writes&& writes);
    void FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, TColor color);
    void FillColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, TColor color);
    void Plot(std::int64_t x, std::int64_t y, TColor color);

    Bitmap bitmap_;
    TRect changed_;  // bounds of the writes that changed pixels since the last report
};

}  // namespace dorvath

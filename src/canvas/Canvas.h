#pragma once

#include <cstdint>

#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace dorvath {

enum class TBrushStyle { bsSolid, bsClear };

// 1 pixel wide, solid, plain copy: only the colour varies.
struct TPen {
    TColor Color = clBlack;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// The drawing interface the scene draws through. Figures take a bounding rectangle
// whose right column and bottom row are excluded; outlines use the pen, insides the
// brush; lines leave out their end pixel.
class Canvas {
public:
    virtual ~Canvas() = default;

    TPen Pen;
    TBrush Brush;

    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;

    // The ellipse inscribed in the rectangle (x1, y1)-(x2, y2).
    virtual void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;
    // The wedge of that ellipse from the radial toward (x3, y3) counterclockwise on the
    // screen to the radial toward (x4, y4); the two points give directions only.
    virtual void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                     std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) = 0;
    virtual void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;

    void MoveTo(std::int32_t x, std::int32_t y) { penPos_ = {x, y}; }
    // A line from the pen position to (x, y) without its end pixel; (x, y) becomes the
    // pen position.
    void LineTo(std::int32_t x, std::int32_t y) {
        DrawLine(penPos_, {x, y});
        penPos_ = {x, y};
    }
    TPoint PenPos() const { return penPos_; }

protected:
    virtual void DrawLine(TPoint from, TPoint to) = 0;

private:
    TPoint penPos_;
};

}  // namespace dorvath

#include "canvas/BitmapCanvas.h"

#include "canvas/Box.h"
#include "canvas/EllipseRows.h"
#include "canvas/FigurePainter.h"
#include "canvas/LineRows.h"
#include "canvas/WedgeRows.h"

namespace dorvath {
namespace {

Box DeviceBox(const DeviceScale& s, std::int32_t x1, std::int32_t y1, std::int32_t x2,
              std::int32_t y2) {
    return Box::Normalised(s.ToDevice(x1), s.ToDevice(y1), s.ToDevice(x2), s.ToDevice(y2));
}

}  // namespace

BitmapCanvas::BitmapCanvas(std::int32_t width, std::int32_t height, TColor fill, DeviceScale scale)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      scale_(scale),
      bitmap_(static_cast<std::int32_t>(scale.ToDevice(width_)),
              static_cast<std::int32_t>(scale.ToDevice(height_)), fill),
      writer_(bitmap_) {}

BitmapCanvas::BitmapCanvas(const BitmapCanvas& other)
    : Canvas(other),
      width_(other.width_),
      height_(other.height_),
      scale_(other.scale_),
      bitmap_(other.bitmap_),
      writer_(bitmap_) {}

BitmapCanvas& BitmapCanvas::operator=(const BitmapCanvas& other) {
    if (this != &other) {
        Canvas::operator=(other);
        width_ = other.width_;
        height_ = other.height_;
        scale_ = other.scale_;
        bitmap_ = other.bitmap_;
        writer_.TakeChanged();
    }
    return *this;
}

template <typename RowOf>
void BitmapCanvas::Paint(std::int64_t top, std::int64_t bottom, const RowOf& rowOf) {
    PaintFigure(writer_, bitmap_.Height(), top, bottom, scale_.PenWidth(), ToRgb32(Pen.Color),
                Brush.Style == TBrushStyle::bsSolid, ToRgb32(Brush.Color), rowOf);
}

void BitmapCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const Box box = DeviceBox(scale_, x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseRows ellipse(box);
    Paint(box.top, box.bottom, [&](std::int64_t y) { return ellipse.Row(y); });
}

void BitmapCanvas::Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
    const Box box = DeviceBox(scale_, x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseRows ellipse(box);
    const WedgeRows wedge(ellipse.DoubledCentreX(), ellipse.DoubledCentreY(),
                          2 * scale_.ToDevice(x3), 2 * scale_.ToDevice(y3), 2 * scale_.ToDevice(x4),
                          2 * scale_.ToDevice(y4));
    // Up to half a turn a row is one run, as for the ellipse; beyond, it can be two.
    if (wedge.IsConvex()) {
        Paint(box.top, box.bottom,
              [&](std::int64_t y) { return ellipse.Row(y).Intersected(wedge.ConvexRow(y)); });
    } else {
        Paint(box.top, box.bottom,
              [&](std::int64_t y) { return wedge.WideRow(y).Intersected(Runs(ellipse.Row(y))); });
    }
}

void BitmapCanvas::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const Box box = DeviceBox(scale_, x1, y1, x2, y2);
    if (box.Empty())
        return;
    Paint(box.top, box.bottom, [&](std::int64_t y) {
        return y >= box.top && y < box.bottom ? Span{box.left, box.right - 1} : Span{};
    });
}

void BitmapCanvas::DrawLine(TPoint from, TPoint to) {
    struct InPen {
        RunWriter& writer;
        Rgb32 pen;
        void Run(std::int64_t y, std::int64_t x0, std::int64_t x1) { writer.Run(y, x0, x1, pen); }
        void Block(std::int64_t y0, std::int64_t y1, std::int64_t x0, std::int64_t x1) {
            writer.Block(y0, y1, x0, x1, pen);
        }
    } out{writer_, ToRgb32(Pen.Color)};
    LineRows(from, to, scale_, bitmap_.Width(), bitmap_.Height(), out);
}

}  // namespace dorvath

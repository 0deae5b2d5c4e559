#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "canvas/Canvas.h"

namespace dorvath::bench {

// The ready-made alternative behind our drawing interface: the same calls with the same
// integer arguments, drawn by QPainter without antialiasing. One painter stays active for
// the canvas's life, as our canvas keeps its surface, so a frame pays for drawing only.
// At a device pixel ratio the image holds the device pixels and the calls stay logical,
// as Qt draws on a dense screen; the pen is then cosmetic, as wide in device pixels as
// ours (the ratio rounded). At ratio 1 it is the plain one-pixel pen.
class QPainterCanvas final : public Canvas {
public:
    QPainterCanvas(std::int32_t width, std::int32_t height, double ratio = 1.0)
        : width_(width),
          height_(height),
          penWidth_(std::max(1, static_cast<int>(std::lround(ratio)))),
          cosmetic_(ratio != 1.0),
          image_(MakeImage(width, height, ratio)),
          painter_(&image_) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }

    std::int32_t Width() const override { return width_; }
    std::int32_t Height() const override { return height_; }
    // The device pixels.
    const QImage& Image() const { return image_; }

    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        ApplyPenAndBrush();
        painter_.drawEllipse(Box(x1, y1, x2, y2));
    }

    void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
             std::int32_t y3, std::int32_t x4, std::int32_t y4) override {
        ApplyPenAndBrush();
        // QPainter counts 1/16 degrees counterclockwise from three o'clock, y up.
        const double cx = (x1 + x2) / 2.0;
        const double cy = (y1 + y2) / 2.0;
        const double start = DegreesOf(x3 - cx, y3 - cy);
        double span = DegreesOf(x4 - cx, y4 - cy) - start;
        if (span <= 0.0)
            span += 360.0;
        painter_.drawPie(Box(x1, y1, x2, y2), static_cast<int>(std::lround(start * 16.0)),
                         static_cast<int>(std::lround(span * 16.0)));
    }

    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        ApplyPenAndBrush();
        painter_.drawRect(Box(x1, y1, x2, y2));
    }

protected:
    void DrawLine(TPoint from, TPoint to) override {
        SetPen(Pen.Color);
        painter_.drawLine(from.X, from.Y, to.X, to.Y);
    }

private:
    // The device pixel ratio is set before the painter starts: it fixes its transform.
    static QImage MakeImage(std::int32_t width, std::int32_t height, double ratio) {
        QImage image(static_cast<int>(std::lround(width * ratio)),
                     static_cast<int>(std::lround(height * ratio)), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        return image;
    }

    static QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

    // A stroked QRect covers its size plus the pen width, so one less on each side gives
    // the box whose right column and bottom row are left out.
    static QRect Box(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    }

    static double DegreesOf(double dx, double dy) {
        return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
    }

    // Changing painter state costs time, so only real changes are passed on, as any
    // adapter over QPainter would do.
    void SetPen(TColor color) {
        if (hasPen_ && color == penColor_)
            return;
        QPen pen(ToQColor(color), penWidth_);
        pen.setCosmetic(cosmetic_);
        pen.setCapStyle(Qt::FlatCap);  // FlatCap leaves out the end pixel of a thin line
        painter_.setPen(pen);
        penColor_ = color;
        hasPen_ = true;
    }

    void ApplyPenAndBrush() {
        SetPen(Pen.Color);
        const bool solid = Brush.Style == TBrushStyle::bsSolid;
        if (hasBrush_ && solid == brushSolid_ && (!solid || Brush.Color == brushColor_))
            return;
        if (solid) {
            painter_.setBrush(ToQColor(Brush.Color));
        } else {
            painter_.setBrush(Qt::NoBrush);
        }
        brushSolid_ = solid;
        brushColor_ = Brush.Color;
        hasBrush_ = true;
    }

    std::int32_t width_, height_;
    int penWidth_;
    bool cosmetic_;
    QImage image_;
    QPainter painter_;
    bool hasPen_ = false;
    TColor penColor_ = 0;
    bool hasBrush_ = false;
    bool brushSolid_ = true;
    TColor brushColor_ = 0;
};

}  // namespace dorvath::bench

#include "canvas/BitmapCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dorvath {
namespace {

// Products of doubled coordinates can exceed 64 bits when callers pass coordinates
// near the limits of int32; 128-bit arithmetic keeps every test exact.
__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}  // b > 0

// Largest r with r * r <= n, for n < 2^126.
UInt128 ISqrt(UInt128 n) {
    UInt128 r = static_cast<UInt128>(std::sqrt(static_cast<long double>(n)));
    while (r > 0 && r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

// A run of columns, first..last inclusive; empty when first > last.
struct Span {
    std::int64_t first = 1;
    std::int64_t last = 0;
    bool Empty() const { return first > last; }
    bool Contains(std::int64_t x) const { return x >= first && x <= last; }
};

// A rectangle with inclusive-exclusive edges, normalised so that it is never inverted.
struct Box {
    std::int64_t left, top, right, bottom;

    // Coordinates beyond +-2^30 are clamped there: such figures dwarf any surface, and
    // the clamp keeps every product of the ellipse test within 128 bits.
    static Box Normalised(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        const auto c = [](std::int32_t v) {
            constexpr std::int64_t kLimit = std::int64_t{1} << 30;
            return std::clamp<std::int64_t>(v, -kLimit, kLimit);
        };
        return {std::min(c(x1), c(x2)), std::min(c(y1), c(y2)), std::max(c(x1), c(x2)),
                std::max(c(y1), c(y2))};
    }
    bool Empty() const { return right <= left || bottom <= top; }
};

// The ellipse inscribed in a box. A pixel belongs to it when its centre lies strictly
// inside the ellipse grown by half a pixel all round: the boundary then runs through the
// pixels nearest the true curve, the figure still fills exactly its box, and a line of
// the radius's length drawn from the centre stays inside the disc at every angle.
// Coordinates are doubled so that pixel centres and the ellipse's centre are integers.
class EllipseShape {
public:
    explicit EllipseShape(const Box& box)
        : box_(box),
          sx_(box.left + box.right),
          sy_(box.top + box.bottom),
          a2_(Square(box.right - box.left + 1)),
          b2_(Square(box.bottom - box.top + 1)) {}

    std::int64_t Top() const { return box_.top; }
    std::int64_t Bottom() const { return box_.bottom; }
    std::int64_t DoubledCentreX() const { return sx_; }
    std::int64_t DoubledCentreY() const { return sy_; }

    // Columns of row y inside: dx^2 / a^2 + dy^2 / b^2 < 1, with dx, dy the doubled
    // offsets of a pixel's centre from the ellipse's centre and a, b the doubled
    // semi-axes of the grown ellipse.
    Span RowSpan(std::int64_t y) const {
        if (y < box_.top || y >= box_.bottom)
            return {};
        const UInt128 dy2 = Square(2 * y + 1 - sy_);
        if (dy2 >= b2_)
            return {};
        const UInt128 dxMax2 = (a2_ * (b2_ - dy2) - 1) / b2_;
        const auto dxMax = static_cast<std::int64_t>(ISqrt(dxMax2));
        // dx = 2x + 1 - sx, so |dx| <= dxMax bounds x on both sides.
        return {CeilDiv(sx_ - 1 - dxMax, 2), FloorDiv(sx_ - 1 + dxMax, 2)};
    }

private:
    static UInt128 Square(std::int64_t v) {
        return static_cast<UInt128>(static_cast<Int128>(v) * v);
    }

    Box box_;
    std::int64_t sx_, sy_;
    UInt128 a2_, b2_;
};

// The wedge swept counterclockwise on the screen from direction a to direction b,
// both from the ellipse's centre. Works in doubled coordinates with y pointing up.
class Sector {
public:
    Sector(const EllipseShape& e, std::int32_t x3, std::int32_t y3, std::int32_t x4,
           std::int32_t y4)
        : sx_(e.DoubledCentreX()), sy_(e.DoubledCentreY()) {
        ax_ = 2 * static_cast<std::int64_t>(x3) - sx_;
        ay_ = sy_ - 2 * static_cast<std::int64_t>(y3);
        bx_ = 2 * static_cast<std::int64_t>(x4) - sx_;
        by_ = sy_ - 2 * static_cast<std::int64_t>(y4);
        // A radial point on the centre gives no direction; take the rightward one.
        if (ax_ == 0 && ay_ == 0)
            ax_ = 1;
        if (bx_ == 0 && by_ == 0)
            bx_ = 1;
        const Int128 cross = Cross(ax_, ay_, bx_, by_);
        const Int128 dot = static_cast<Int128>(ax_) * bx_ + static_cast<Int128>(ay_) * by_;
        if (cross == 0 && dot > 0) {
            kind_ = Kind::kFull;  // the arc goes all the way round
        } else {
            kind_ = cross >= 0 ? Kind::kAtMostHalf : Kind::kMoreThanHalf;
        }
    }

    bool Contains(std::int64_t x, std::int64_t y) const {
        if (kind_ == Kind::kFull)
            return true;
        const std::int64_t px = 2 * x + 1 - sx_;
        const std::int64_t py = sy_ - (2 * y + 1);
        const bool afterA = Cross(ax_, ay_, px, py) >= 0;
        const bool beforeB = Cross(px, py, bx_, by_) >= 0;
        return kind_ == Kind::kAtMostHalf ? (afterA && beforeB) : (afterA || beforeB);
    }

private:
    enum class Kind { kFull, kAtMostHalf, kMoreThanHalf };

    static Int128 Cross(std::int64_t ux, std::int64_t uy, std::int64_t vx, std::int64_t vy) {
        return static_cast<Int128>(ux) * vy - static_cast<Int128>(uy) * vx;
    }

    std::int64_t sx_, sy_;
    std::int64_t ax_, ay_, bx_, by_;
    Kind kind_;
};

}  // namespace

BitmapCanvas::BitmapCanvas(std::int32_t width, std::int32_t height, TColor fill)
    : bitmap_(width, height, fill), reported_(bitmap_) {}

TRect BitmapCanvas::TakeChangedRect() {
    // Writes can change a pixel and change it back within a frame (the Sun's fill over
    // an axis the axis then redraws), so the written area is narrowed to the pixels that
    // differ from what was last reported.
    const TRect written = changed_;
    changed_ = {};
    TRect really;
    for (std::int32_t y = written.Top; y < written.Bottom; ++y) {
        const Rgb32* now = bitmap_.Row(y);
        Rgb32* before = reported_.Row(y);
        std::int32_t first = written.Right;
        std::int32_t last = written.Left - 1;
        for (std::int32_t x = written.Left; x < written.Right; ++x) {
            if (now[x] != before[x]) {
                before[x] = now[x];
                first = std::min(first, x);
                last = x;
            }
        }
        if (first <= last)
            really = really.United({first, y, last + 1, y + 1});
    }
    return really;
}

void BitmapCanvas::FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, TColor color) {
    if (y < 0 || y >= Height())
        return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, Width() - 1);
    if (x0 > x1)
        return;
    const Rgb32 value = ToRgb32(color);
    Rgb32* row = bitmap_.Row(static_cast<std::int32_t>(y));
    std::int64_t minX = x1 + 1;
    std::int64_t maxX = x0 - 1;
    for (std::int64_t x = x0; x <= x1; ++x) {
        if (row[x] != value) {
            row[x] = value;
            minX = std::min(minX, x);
            maxX = x;
        }
    }
    if (minX <= maxX) {
        const auto yy = static_cast<std::int32_t>(y);
        changed_ = changed_.United(
            {static_cast<std::int32_t>(minX), yy, static_cast<std::int32_t>(maxX + 1), yy + 1});
    }
}

void BitmapCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const Box box = Box::Normalised(x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseShape shape(box);
    const std::int64_t yFirst = std::max<std::int64_t>(shape.Top(), 0);
    const std::int64_t yLast = std::min<std::int64_t>(shape.Bottom(), Height()) - 1;
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const Span row = shape.RowSpan(y);
        if (row.Empty())
            continue;
        // The outline is every inside pixel with a side neighbour outside; the rest of
        // the row is interior.
        const Span above = shape.RowSpan(y - 1);
        const Span below = shape.RowSpan(y + 1);
        Span inner{std::max({row.first + 1, above.first, below.first}),
                   std::min({row.last - 1, above.last, below.last})};
        if (above.Empty() || below.Empty())
            inner = {};
        if (inner.Empty()) {
            FillSpan(y, row.first, row.last, Pen.Color);
            continue;
        }
        FillSpan(y, row.first, inner.first - 1, Pen.Color);
        if (Brush.Style == TBrushStyle::bsSolid)
            FillSpan(y, inner.first, inner.last, Brush.Color);
        FillSpan(y, inner.last + 1, row.last, Pen.Color);
    }
}

void BitmapCanvas::Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
    const Box box = Box::Normalised(x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseShape shape(box);
    const Sector sector(shape, x3, y3, x4, y4);
    const bool fill = Brush.Style == TBrushStyle::bsSolid;
    const std::int64_t yFirst = std::max<std::int64_t>(shape.Top(), 0);
    const std::int64_t yLast = std::min<std::int64_t>(shape.Bottom(), Height()) - 1;
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const Span row = shape.RowSpan(y);
        const Span above = shape.RowSpan(y - 1);
        const Span below = shape.RowSpan(y + 1);
        const std::int64_t xFirst = std::max<std::int64_t>(row.first, 0);
        const std::int64_t xLast = std::min<std::int64_t>(row.last, Width() - 1);
        for (std::int64_t x = xFirst; x <= xLast; ++x) {
            if (!sector.Contains(x, y))
                continue;
            // Outline: a pixel of the wedge with a side neighbour outside the wedge, which
            // traces the arc and both radials alike.
            const bool edge = x == row.first || x == row.last || !above.Contains(x) ||
                              !below.Contains(x) || !sector.Contains(x - 1, y) ||
                              !sector.Contains(x + 1, y) || !sector.Contains(x, y - 1) ||
                              !sector.Contains(x, y + 1);
            if (edge) {
                Plot(x, y, Pen.Color);
            } else if (fill) {
                Plot(x, y, Brush.Color);
            }
        }
    }
}

void BitmapCanvas::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const Box box = Box::Normalised(x1, y1, x2, y2);
    if (box.Empty())
        return;
    const std::int64_t yFirst = std::max<std::int64_t>(box.top, 0);
    const std::int64_t yLast = std::min<std::int64_t>(box.bottom, Height()) - 1;
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        if (y == box.top || y == box.bottom - 1) {
            FillSpan(y, box.left, box.right - 1, Pen.Color);
            continue;
        }
        Plot(box.left, y, Pen.Color);
        if (Brush.Style == TBrushStyle::bsSolid)
            FillSpan(y, box.left + 1, box.right - 2, Brush.Color);
        Plot(box.right - 1, y, Pen.Color);
    }
}

void BitmapCanvas::DrawLine(TPoint from, TPoint to) {
    const std::int64_t dx = static_cast<std::int64_t>(to.X) - from.X;
    const std::int64_t dy = static_cast<std::int64_t>(to.Y) - from.Y;
    if (dx == 0 && dy == 0)
        return;
    if (dy == 0) {  // horizontal: one span, the end pixel left out
        FillSpan(from.Y, dx > 0 ? from.X : to.X + 1LL, dx > 0 ? to.X - 1LL : from.X, Pen.Color);
        return;
    }
    // Step one pixel at a time along the longer axis, rounding the other to the nearest
    // pixel (halves away from the start's side, deterministically). Only the steps that
    // land on the bitmap along the longer axis are visited, so huge lines cost no more
    // than the bitmap is wide.
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t majorStart = xMajor ? from.X : from.Y;
    const std::int64_t minorStart = xMajor ? from.Y : from.X;
    const std::int64_t majorDir = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorLimit = (xMajor ? Width() : Height()) - 1;

    std::int64_t tFirst = 0;
    std::int64_t tLast = steps - 1;
    if (majorDir > 0) {
        tFirst = std::max(tFirst, -majorStart);
        tLast = std::min(tLast, majorLimit - majorStart);
    } else {
        tFirst = std::max(tFirst, majorStart - majorLimit);
        tLast = std::min(tLast, majorStart);
    }
    for (std::int64_t t = tFirst; t <= tLast; ++t) {
        const Int128 num = 2 * static_cast<Int128>(t) * minorDelta + steps;
        const Int128 den = 2 * static_cast<Int128>(steps);
        Int128 q = num / den;
        if (num % den != 0 && num < 0)
            --q;  // floor
        const std::int64_t major = majorStart + majorDir * t;
        const std::int64_t minor = minorStart + static_cast<std::int64_t>(q);
        if (xMajor) {
            Plot(major, minor, Pen.Color);
        } else {
            Plot(minor, major, Pen.Color);
        }
    }
}

}  // namespace dorvath

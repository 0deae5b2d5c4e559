#include "canvas/BitmapCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace dorvath {
namespace {

// Products of doubled coordinates can exceed 64 bits for coordinates near the limits
// of int32; 128-bit arithmetic keeps every test exact there. Figures of ordinary size
// take 64-bit paths that give the same results.
__extension__ using Int128 = __int128;

bool FitsInt64(Int128 v) {
    return v >= std::numeric_limits<std::int64_t>::min() &&
           v <= std::numeric_limits<std::int64_t>::max();
}

// Division rounding down (CeilDiv: up), b > 0.
[[gnu::noinline]] std::int64_t FloorDivLarge(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kExact = std::int64_t{1} << 52;  // exact as a double
    if (a <= -kExact || a >= kExact || b >= kExact)
        return FloorDivLarge(a, b);
    // A floating-point estimate, settled exactly: much cheaper than an integer division,
    // which a wedge needs twice a row.
    auto q = static_cast<std::int64_t>(static_cast<double>(a) / static_cast<double>(b));
    while (q * b > a)
        --q;
    while ((q + 1) * b <= a)
        ++q;
    return q;
}

inline Int128 FloorDiv(Int128 a, std::int64_t b) {
    if (FitsInt64(a)) [[likely]]
        return FloorDiv(static_cast<std::int64_t>(a), b);
    const Int128 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

Int128 CeilDiv(Int128 a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// Halving a doubled coordinate, rounded down or up.
std::int64_t FloorHalf(std::int64_t a) {
    return a >> 1;
}
std::int64_t CeilHalf(std::int64_t a) {
    return -(-a >> 1);
}

// Largest r with r * r <= n.
std::int64_t ISqrt(std::int64_t n) {
    auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (r > 0 && r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

// Far beyond any surface, yet small enough to move by a pixel without overflow.
constexpr std::int64_t kFar = std::int64_t{1} << 40;

// A run of columns, first..last inclusive; empty when first > last.
struct Span {
    std::int64_t first = 1;
    std::int64_t last = 0;

    static Span All() { return {-kFar, kFar}; }
    bool Empty() const { return first > last; }
    Span Intersected(Span o) const { return {std::max(first, o.first), std::min(last, o.last)}; }
    // Without its first and last column.
    Span Eroded() const { return {first + 1, last - 1}; }
    // Iterable like Runs, as one run or none, so that one painter serves both.
    const Span* begin() const { return this; }
    const Span* end() const { return Empty() ? this : this + 1; }
};

// The columns of one row that a figure covers: a few disjoint runs, left to right.
class Runs {
public:
    Runs() = default;
    explicit Runs(Span s) { Add(s); }

    void Add(Span s) {
        if (!s.Empty() && count_ < static_cast<int>(runs_.size()))
            runs_[count_++] = s;
    }
    const Span* begin() const { return runs_.data(); }
    const Span* end() const { return runs_.data() + count_; }

    Runs Intersected(const Runs& o) const {
        Runs out;
        for (const Span& a : *this)
            for (const Span& b : o)
                out.Add(a.Intersected(b));
        return out;
    }
    // Without the first and last column of each run: the columns whose both side
    // neighbours are covered.
    Runs Eroded() const {
        Runs out;
        for (const Span& s : *this)
            out.Add({s.first + 1, s.last - 1});
        return out;
    }

private:
    // Intersections of the runs of three rows of a wedge never need more.
    std::array<Span, 4> runs_{};
    int count_ = 0;
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
          b2_(Square(box.bottom - box.top + 1)),
          small_(a2_ < (Int128{1} << 31) && b2_ < (Int128{1} << 31)) {}

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
        const std::int64_t dy = 2 * y + 1 - sy_;
        std::int64_t dxMax;
        if (small_) {  // every product below fits in 64 bits
            const auto a2 = static_cast<std::int64_t>(a2_), b2 = static_cast<std::int64_t>(b2_);
            const std::int64_t dy2 = dy * dy;
            if (dy2 >= b2)
                return {};
            // Largest dx with dx^2 * b2 < a2 * (b2 - dy2), settled exactly from an
            // estimate. Rows are asked for in order, so the previous row's answer is a
            // close estimate; only the first row needs a square root.
            const std::int64_t limit = a2 * (b2 - dy2);
            dxMax = hint_ >= 0 ? hint_
                               : static_cast<std::int64_t>(std::sqrt(static_cast<double>(limit) /
                                                                     static_cast<double>(b2)));
            while (dxMax > 0 && dxMax * dxMax * b2 >= limit)
                --dxMax;
            while ((dxMax + 1) * (dxMax + 1) * b2 < limit)
                ++dxMax;
            hint_ = dxMax;
        } else {
            const Int128 dy2 = Square(dy);
            if (dy2 >= b2_)
                return {};
            dxMax = ISqrt(static_cast<std::int64_t>((a2_ * (b2_ - dy2) - 1) / b2_));
        }
        // dx = 2x + 1 - sx, so |dx| <= dxMax bounds x on both sides.
        return {CeilHalf(sx_ - 1 - dxMax), FloorHalf(sx_ - 1 + dxMax)};
    }

private:
    static Int128 Square(std::int64_t v) { return static_cast<Int128>(v) * v; }

    Box box_;
    std::int64_t sx_, sy_;
    Int128 a2_, b2_;
    bool small_;
    mutable std::int64_t hint_ = -1;  // the last row's answer: only a starting guess
};

// The wedge swept counterclockwise on the screen from direction a to direction b,
// both from the ellipse's centre, in doubled coordinates with y pointing up. Within a
// row each of the two bounding half-planes is a half-line of columns, so a row of the
// wedge is one run (up to half a turn) or two (more than half a turn).
class Sector {
public:
    Sector(std::int64_t doubledCentreX, std::int64_t doubledCentreY, std::int32_t x3,
           std::int32_t y3, std::int32_t x4, std::int32_t y4)
        : sx_(doubledCentreX), sy_(doubledCentreY) {
        ax_ = 2 * static_cast<std::int64_t>(x3) - sx_;
        ay_ = sy_ - 2 * static_cast<std::int64_t>(y3);
        bx_ = 2 * static_cast<std::int64_t>(x4) - sx_;
        by_ = sy_ - 2 * static_cast<std::int64_t>(y4);
        // A radial point on the centre gives no direction; take the rightward one.
        if (ax_ == 0 && ay_ == 0)
            ax_ = 1;
        if (bx_ == 0 && by_ == 0)
            bx_ = 1;
        const Int128 cross = static_cast<Int128>(ax_) * by_ - static_cast<Int128>(ay_) * bx_;
        const Int128 dot = static_cast<Int128>(ax_) * bx_ + static_cast<Int128>(ay_) * by_;
        if (cross == 0 && dot > 0) {
            kind_ = Kind::kFull;  // the arc goes all the way round
        } else if (cross == 0) {
            kind_ = Kind::kHalf;  // opposite radials: one straight edge
        } else {
            kind_ = cross >= 0 ? Kind::kAtMostHalf : Kind::kMoreThanHalf;
        }
    }

    bool AtMostHalf() const { return kind_ != Kind::kMoreThanHalf; }

    // The columns of row y in a wedge of up to half a turn: one run.
    Span HalfTurnRow(std::int64_t y) const {
        if (kind_ == Kind::kFull)
            return Span::All();
        if (kind_ == Kind::kHalf)
            return AfterA(y);
        const auto [afterA, beforeB] = Bounds(y);
        return afterA.Intersected(beforeB);
    }

    // The columns of row y in a wedge of more than half a turn: up to two runs.
    Runs WideRow(std::int64_t y) const {
        const auto [afterA, beforeB] = Bounds(y);
        return Union(afterA, beforeB);
    }

private:
    enum class Kind { kFull, kHalf, kAtMostHalf, kMoreThanHalf };

    // The columns on the wedge's side of each radial: at or after a, cross(a, p) >= 0,
    // i.e. ay * px <= ax * py; at or before b, cross(p, b) >= 0, i.e. by * px >= bx * py.
    std::int64_t PyOf(std::int64_t y) const { return sy_ - (2 * y + 1); }
    Span AfterA(std::int64_t y) const {
        return Solve(ay_, static_cast<Int128>(ax_) * PyOf(y), true);
    }
    Span BeforeB(std::int64_t y) const {
        return Solve(by_, static_cast<Int128>(bx_) * PyOf(y), false);
    }
    std::pair<Span, Span> Bounds(std::int64_t y) const { return {AfterA(y), BeforeB(y)}; }

    // The columns x whose doubled offset px = 2x + 1 - sx satisfies k * px <= c (or >=).
    Span Solve(std::int64_t k, Int128 c, bool atMost) const {
        if (k < 0) {
            k = -k;
            c = -c;
            atMost = !atMost;
        }
        if (k == 0)
            return (atMost ? 0 <= c : 0 >= c) ? Span::All() : Span{};
        const Int128 bound = atMost ? FloorDiv(c, k) : CeilDiv(c, k);
        const Int128 limit =
            atMost ? std::min<Int128>(bound, 4 * kFar) : std::max<Int128>(bound, -4 * kFar);
        const auto px = static_cast<std::int64_t>(limit);
        return atMost ? Span{-kFar, FloorHalf(px + sx_ - 1)} : Span{CeilHalf(px + sx_ - 1), kFar};
    }

    static Runs Union(Span a, Span b) {
        if (a.Empty())
            return Runs(b);
        if (b.Empty())
            return Runs(a);
        if (b.first < a.first)
            std::swap(a, b);
        if (b.first <= a.last + 1)
            return Runs(Span{a.first, std::max(a.last, b.last)});
        Runs out(a);
        out.Add(b);
        return out;
    }

    std::int64_t sx_, sy_;
    std::int64_t ax_, ay_, bx_, by_;
    Kind kind_;
};

// Writes runs of one row of pixels, clipped to the row, and notes the columns of the
// runs that changed anything. Figures write their rows through it.
class RowWriter {
public:
    RowWriter(Rgb32* row, std::int64_t width) : row_(row), width_(width) {}

    void Run(std::int64_t x0, std::int64_t x1, Rgb32 value) {
        x0 = std::max<std::int64_t>(x0, 0);
        x1 = std::min(x1, width_ - 1);
        // Written without branches, noting on the way whether anything changed: cheaper
        // than finding the exact columns, and figure runs are short.
        Rgb32 difference = 0;
        for (std::int64_t x = x0; x <= x1; ++x) {
            difference |= row_[x] ^ value;
            row_[x] = value;
        }
        if (difference != 0) {
            changed_.first = std::min(changed_.first, x0);
            changed_.last = std::max(changed_.last, x1);
        }
    }
    Span Changed() const { return changed_; }

private:
    Rgb32* row_;
    std::int64_t width_;
    Span changed_{std::numeric_limits<std::int64_t>::max(),
                  std::numeric_limits<std::int64_t>::min()};
};

}  // namespace

BitmapCanvas::BitmapCanvas(std::int32_t width, std::int32_t height, TColor fill)
    : bitmap_(width, height, fill) {}

TRect BitmapCanvas::TakeChangedRect() {
    const TRect changed = changed_;
    changed_ = {};
    return changed;
}

template <typename Writes>
void BitmapCanvas::EditRow(std::int64_t y, Writes&& writes) {
    if (y < 0 || y >= Height())
        return;
    RowWriter writer(bitmap_.Row(static_cast<std::int32_t>(y)), Width());
    writes(writer);
    const Span changed = writer.Changed();
    if (changed.Empty())
        return;
    const auto yy = static_cast<std::int32_t>(y);
    changed_ = changed_.United({static_cast<std::int32_t>(changed.first), yy,
                                static_cast<std::int32_t>(changed.last + 1), yy + 1});
}

void BitmapCanvas::FillSpan(std::int64_t y, std::int64_t x0, std::int64_t x1, TColor color) {
    if (y < 0 || y >= Height())
        return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, Width() - 1);
    const Rgb32 value = ToRgb32(color);
    Rgb32* row = bitmap_.Row(static_cast<std::int32_t>(y));
    // Lines can be long and mostly repaint what is there (an axis over the Sun changes
    // only the Sun's width of it), so only the stretch that differs counts as changed.
    while (x0 <= x1 && row[x0] == value)
        ++x0;
    if (x0 > x1)
        return;
    while (row[x1] == value)
        --x1;
    std::fill(row + x0, row + x1 + 1, value);
    const auto yy = static_cast<std::int32_t>(y);
    changed_ = changed_.United(
        {static_cast<std::int32_t>(x0), yy, static_cast<std::int32_t>(x1 + 1), yy + 1});
}

void BitmapCanvas::FillColumn(std::int64_t x, std::int64_t y0, std::int64_t y1, TColor color) {
    if (x < 0 || x >= Width())
        return;
    y0 = std::max<std::int64_t>(y0, 0);
    y1 = std::min<std::int64_t>(y1, Height() - 1);
    if (y0 > y1)
        return;
    const Rgb32 value = ToRgb32(color);
    Rgb32* pixel = bitmap_.Row(0) + x;
    const std::int64_t stride = Width();
    std::int64_t first = y1 + 1, last = y0 - 1;
    for (std::int64_t y = y0; y <= y1; ++y) {
        Rgb32& p = pixel[y * stride];
        if (p != value) {
            p = value;
            first = std::min(first, y);
            last = y;
        }
    }
    if (first <= last) {
        const auto xx = static_cast<std::int32_t>(x);
        changed_ = changed_.United(
            {xx, static_cast<std::int32_t>(first), xx + 1, static_cast<std::int32_t>(last + 1)});
    }
}

void BitmapCanvas::Plot(std::int64_t x, std::int64_t y, TColor color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    Rgb32& pixel = bitmap_.Row(static_cast<std::int32_t>(y))[x];
    const Rgb32 value = ToRgb32(color);
    if (pixel == value)
        return;
    pixel = value;
    const auto xx = static_cast<std::int32_t>(x), yy = static_cast<std::int32_t>(y);
    changed_ = changed_.United({xx, yy, xx + 1, yy + 1});
}

template <typename RowOf>
void BitmapCanvas::PaintFigure(std::int64_t top, std::int64_t bottom, const RowOf& rowOf) {
    // The outline is every covered pixel with a side neighbour uncovered: the rim of an
    // ellipse, or the arc and both radials of a wedge alike. The rest is the inside.
    const std::int64_t yFirst = std::max<std::int64_t>(top, 0);
    const std::int64_t yLast = std::min<std::int64_t>(bottom, Height()) - 1;
    if (yFirst > yLast)
        return;
    const bool fill = Brush.Style == TBrushStyle::bsSolid;
    const Rgb32 pen = ToRgb32(Pen.Color), brush = ToRgb32(Brush.Color);
    auto above = rowOf(yFirst - 1);
    auto row = rowOf(yFirst);
    for (std::int64_t y = yFirst; y <= yLast; ++y) {
        const auto below = rowOf(y + 1);
        const auto inside = row.Eroded().Intersected(above).Intersected(below);
        EditRow(y, [&](RowWriter& out) {
            for (const Span& run : row) {
                std::int64_t x = run.first;
                for (const Span& in : inside) {
                    if (in.first < run.first || in.last > run.last)
                        continue;
                    out.Run(x, in.first - 1, pen);
                    if (fill)
                        out.Run(in.first, in.last, brush);
                    x = in.last + 1;
                }
                out.Run(x, run.last, pen);
            }
        });
        above = row;
        row = below;
    }
}

void BitmapCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const Box box = Box::Normalised(x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseShape shape(box);
    PaintFigure(shape.Top(), shape.Bottom(), [&](std::int64_t y) { return shape.RowSpan(y); });
}

void BitmapCanvas::Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
    const Box box = Box::Normalised(x1, y1, x2, y2);
    if (box.Empty())
        return;
    const EllipseShape shape(box);
    const Sector wedge(shape.DoubledCentreX(), shape.DoubledCentreY(), x3, y3, x4, y4);
    // Up to half a turn a row is one run, as for the ellipse; beyond, it can be two.
    if (wedge.AtMostHalf()) {
        PaintFigure(shape.Top(), shape.Bottom(), [&](std::int64_t y) {
            return shape.RowSpan(y).Intersected(wedge.HalfTurnRow(y));
        });
    } else {
        PaintFigure(shape.Top(), shape.Bottom(), [&](std::int64_t y) {
            return wedge.WideRow(y).Intersected(Runs(shape.RowSpan(y)));
        });
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
        if (Brush.Style == TBrushStyle::bsSolid) {
            FillSpan(y, box.left + 1, box.right - 2, Brush.Color);
        }
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
    if (dx == 0) {  // vertical: one column, the end pixel left out
        FillColumn(from.X, dy > 0 ? from.Y : to.Y + 1LL, dy > 0 ? to.Y - 1LL : from.Y, Pen.Color);
        return;
    }
    // Step one pixel at a time along the longer axis; the other coordinate of step t is
    // the start's plus round(t * delta / steps), halves rounded up. Only the steps that
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
    if (tFirst > tLast)
        return;

    // minor offset = floor((2 t delta + steps) / (2 steps)), kept as a quotient and a
    // remainder so that each further step costs an addition.
    const std::int64_t den = 2 * steps;
    const Int128 num = 2 * static_cast<Int128>(tFirst) * minorDelta + steps;
    auto q = static_cast<std::int64_t>(FloorDiv(num, den));
    std::int64_t rem = static_cast<std::int64_t>(num - static_cast<Int128>(q) * den);
    for (std::int64_t t = tFirst; t <= tLast; ++t) {
        const std::int64_t major = majorStart + majorDir * t;
        const std::int64_t minor = minorStart + q;
        if (xMajor) {
            Plot(major, minor, Pen.Color);
        } else {
            Plot(minor, major, Pen.Color);
        }
        rem += 2 * minorDelta;  // |2 delta| <= den: at most one carry either way
        if (rem >= den) {
            rem -= den;
            ++q;
        } else if (rem < 0) {
            rem += den;
            --q;
        }
    }
}

}  // namespace dorvath

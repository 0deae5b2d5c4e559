#include "canvas/BitmapCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <string>

#include "support/Frames.h"
#include "support/Pictures.h"
#include "support/Seed.h"

namespace dorvath {
namespace {

constexpr TColor kPen = clRed;
constexpr TColor kFill = clBlue;
constexpr TColor kBack = clWhite;

BitmapCanvas MakeCanvas(std::int32_t w, std::int32_t h, TBrushStyle style = TBrushStyle::bsSolid,
                        DeviceScale scale = {}) {
    BitmapCanvas c(w, h, kBack, scale);
    c.Pen.Color = kPen;
    c.Brush = {kFill, style};
    return c;
}

// Bounding rectangle of the pixels that are not the background.
TRect Footprint(const Bitmap& b) {
    TRect r;
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != kBack)
                r = r.United({x, y, x + 1, y + 1});
    return r;
}

int Count(const Bitmap& b, TColor c) {
    int n = 0;
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            n += b.Pixel(x, y) == c;
    return n;
}

// The fill never meets the background: the outline closes the figure.
void ExpectOutlineCloses(const Bitmap& b) {
    for (std::int32_t y = 1; y + 1 < b.Height(); ++y) {
        for (std::int32_t x = 1; x + 1 < b.Width(); ++x) {
            if (b.Pixel(x, y) != kFill)
                continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                EXPECT_NE(b.Pixel(x + dx, y + dy), kBack) << x << "," << y;
            }
        }
    }
}

TEST(CanvasFigures, RectangleExcludesRightColumnAndBottomRow) {
    struct Case {
        const char* name;
        std::int32_t x1, y1, x2, y2;
        TRect footprint;
    };
    const Case cases[] = {
        {"plain", 2, 3, 8, 7, {2, 3, 8, 7}},     {"inverted", 8, 7, 2, 3, {2, 3, 8, 7}},
        {"one pixel", 4, 4, 5, 5, {4, 4, 5, 5}}, {"empty width", 4, 4, 4, 9, {}},
        {"empty height", 4, 4, 9, 4, {}},
    };
    for (const Case& c : cases) {
        BitmapCanvas canvas = MakeCanvas(12, 12);
        canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Footprint(canvas.Pixels()), c.footprint) << c.name;
    }
}

TEST(CanvasFigures, RectangleOutlineInPenInsideInBrushOrUntouched) {
    for (TBrushStyle style : {TBrushStyle::bsSolid, TBrushStyle::bsClear}) {
        BitmapCanvas canvas = MakeCanvas(10, 10, style);
        canvas.Rectangle(1, 1, 6, 5);  // 5 x 4: 14 outline pixels around 3 x 2
        const Bitmap& b = canvas.Pixels();
        EXPECT_EQ(Count(b, kPen), 14);
        EXPECT_EQ(b.Pixel(1, 1), kPen);
        EXPECT_EQ(b.Pixel(5, 4), kPen);
        EXPECT_EQ(b.Pixel(3, 2), style == TBrushStyle::bsSolid ? kFill : kBack);
        EXPECT_EQ(Count(b, kFill), style == TBrushStyle::bsSolid ? 6 : 0);
    }
}

TEST(CanvasFigures, EllipseStaysInsideItsRectangleAndTouchesEachSide) {
    struct Case {
        std::int32_t x1, y1, x2, y2;
    };
    for (const Case c : {Case{10, 10, 50, 50}, Case{10, 10, 51, 31}, Case{3, 20, 4, 40},
                         Case{50, 50, 10, 10}, Case{0, 0, 2, 2}}) {
        BitmapCanvas canvas = MakeCanvas(64, 64);
        canvas.Ellipse(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Footprint(canvas.Pixels()), (TRect{std::min(c.x1, c.x2), std::min(c.y1, c.y2),
                                                     std::max(c.x1, c.x2), std::max(c.y1, c.y2)}))
            << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
    }
}

TEST(CanvasFigures, EllipseIsSymmetricWithAClosedOutline) {
    BitmapCanvas canvas = MakeCanvas(60, 60);
    canvas.Ellipse(10, 10, 50, 50);  // the planet's disc: 40 pixels across
    const Bitmap& b = canvas.Pixels();
    for (std::int32_t y = 10; y < 50; ++y) {
        for (std::int32_t x = 10; x < 50; ++x) {
            const TColor p = b.Pixel(x, y);
            EXPECT_EQ(p, b.Pixel(59 - x, y)) << x << "," << y;
            EXPECT_EQ(p, b.Pixel(x, 59 - y)) << x << "," << y;
            EXPECT_EQ(p, b.Pixel(y, x)) << x << "," << y;
        }
    }
    ExpectOutlineCloses(b);
    EXPECT_EQ(b.Pixel(30, 30), kFill);
    EXPECT_EQ(b.Pixel(10, 30), kPen);
    EXPECT_EQ(b.Pixel(10, 10), kBack);
}

TEST(CanvasFigures, EllipseWithClearBrushDrawsOnlyTheOutline) {
    BitmapCanvas canvas = MakeCanvas(60, 60, TBrushStyle::bsClear);
    canvas.Ellipse(10, 10, 50, 50);
    EXPECT_EQ(Count(canvas.Pixels(), kFill), 0);
    EXPECT_EQ(canvas.Pixels().Pixel(30, 30), kBack);
    EXPECT_GT(Count(canvas.Pixels(), kPen), 100);
}

TEST(CanvasLines, EndPixelIsLeftOutAndBecomesThePenPosition) {
    struct Case {
        const char* name;
        TPoint from, to;
        std::vector<TPoint> pixels;
    };
    const Case cases[] = {
        {"right", {1, 1}, {4, 1}, {{1, 1}, {2, 1}, {3, 1}}},
        {"left", {4, 1}, {1, 1}, {{4, 1}, {3, 1}, {2, 1}}},
        {"down", {2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}}},
        {"up", {2, 3}, {2, 0}, {{2, 3}, {2, 2}, {2, 1}}},
        {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {"steep", {0, 0}, {1, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {"zero length", {3, 3}, {3, 3}, {}},
    };
    for (const Case& c : cases) {
        BitmapCanvas canvas = MakeCanvas(8, 8);
        canvas.MoveTo(c.from.X, c.from.Y);
        canvas.LineTo(c.to.X, c.to.Y);
        EXPECT_EQ(canvas.PenPos(), c.to) << c.name;
        BitmapCanvas expected = MakeCanvas(8, 8);
        for (TPoint p : c.pixels) {
            expected.MoveTo(p.X, p.Y);
            expected.Rectangle(p.X, p.Y, p.X + 1, p.Y + 1);
        }
        EXPECT_TRUE(
            test::SamePicture(canvas.Pixels(), expected.Pixels(), std::string("line-") + c.name));
    }
}

TEST(CanvasLines, LineToContinuesFromTheLastEnd) {
    BitmapCanvas canvas = MakeCanvas(8, 8);
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 0);
    canvas.LineTo(3, 3);  // draws (3,0) .. (3,2): the corner is not lost
    EXPECT_EQ(canvas.Pixels().Pixel(3, 0), kPen);
    EXPECT_EQ(canvas.Pixels().Pixel(3, 2), kPen);
    EXPECT_EQ(canvas.Pixels().Pixel(3, 3), kBack);
    EXPECT_EQ(Count(canvas.Pixels(), kPen), 6);
}

// A 41 x 41 disc centred on the corner (20, 20); wedges are probed a few pixels off
// each axis in each quadrant.
struct Quadrants {
    bool upperRight, upperLeft, lowerLeft, lowerRight;
    friend bool operator==(const Quadrants&, const Quadrants&) = default;
};

Quadrants FilledQuadrants(const Bitmap& b) {
    return {b.Pixel(26, 13) == kFill, b.Pixel(13, 13) == kFill, b.Pixel(13, 26) == kFill,
            b.Pixel(26, 26) == kFill};
}

TEST(CanvasPie, WedgeRunsCounterclockwiseOnScreenFromFirstRadialToSecond) {
    struct Case {
        const char* name;
        TPoint first, second;
        Quadrants filled;
    };
    const TPoint right{39, 20}, up{20, 1}, left{1, 20}, down{20, 39};
    const Case cases[] = {
        {"right to left: upper half", right, left, {true, true, false, false}},
        {"left to right: lower half", left, right, {false, false, true, true}},
        {"up to down: left half", up, down, {false, true, true, false}},
        {"down to up: right half", down, up, {true, false, false, true}},
        {"right to up: upper right quarter", right, up, {true, false, false, false}},
        {"up to left: upper left quarter", up, left, {false, true, false, false}},
        {"left to down: lower left quarter", left, down, {false, false, true, false}},
        {"down to right: lower right quarter", down, right, {false, false, false, true}},
        {"up to right: three quarters", up, right, {false, true, true, true}},
        {"same radial: the whole disc", right, right, {true, true, true, true}},
        {"far points give directions only", {1000, 20}, {-5000, 20}, {true, true, false, false}},
    };
    for (const Case& c : cases) {
        BitmapCanvas canvas = MakeCanvas(40, 40);
        canvas.Pie(0, 0, 40, 40, c.first.X, c.first.Y, c.second.X, c.second.Y);
        EXPECT_EQ(FilledQuadrants(canvas.Pixels()), c.filled) << c.name;
    }
}

TEST(CanvasPie, WedgeIsOutlinedAndLiesWithinItsEllipse) {
    BitmapCanvas pie = MakeCanvas(40, 40);
    pie.Pie(0, 0, 40, 40, 39, 20, 1, 20);  // the upper half
    const Bitmap& b = pie.Pixels();
    // The radials run along the diameter: its row is outline, and the fill above it
    // never meets the background.
    EXPECT_EQ(b.Pixel(10, 19), kPen);
    EXPECT_EQ(b.Pixel(30, 19), kPen);
    EXPECT_EQ(b.Pixel(20, 20), kBack);
    ExpectOutlineCloses(b);

    // The ellipse painted in the background colour leaves nothing of the wedge.
    pie.Pen.Color = kBack;
    pie.Brush.Color = kBack;
    pie.Ellipse(0, 0, 40, 40);
    EXPECT_EQ(Footprint(pie.Pixels()), TRect{});
}

TEST(CanvasClipping, FiguresCutByAnyEdgeMatchTheSameFiguresOnALargerSurface) {
    // The small surface is a 30 x 20 window at (40, 40) of a large one.
    constexpr std::int32_t kOff = 40, kW = 30, kH = 20;
    struct Case {
        const char* name;
        std::function<void(Canvas&, std::int32_t)> draw;  // draws shifted by an offset
    };
    const Case cases[] = {
        {"ellipse over the left and top edges",
         [](Canvas& c, std::int32_t o) { c.Ellipse(o - 12, o - 9, o + 14, o + 11); }},
        {"ellipse over the right and bottom edges",
         [](Canvas& c, std::int32_t o) { c.Ellipse(o + 20, o + 8, o + 41, o + 33); }},
        {"ellipse larger than the surface",
         [](Canvas& c, std::int32_t o) { c.Ellipse(o - 30, o - 35, o + 60, o + 50); }},
        {"pie over the top edge",
         [](Canvas& c, std::int32_t o) {
             c.Pie(o + 2, o - 15, o + 28, o + 11, o + 30, o - 15, o, o + 20);
         }},
        {"pie over the right and bottom edges",
         [](Canvas& c, std::int32_t o) {
             c.Pie(o + 15, o + 5, o + 45, o + 35, o + 15, o + 5, o + 45, o + 35);
         }},
        {"rectangle over every edge",
         [](Canvas& c, std::int32_t o) { c.Rectangle(o - 3, o - 2, o + 33, o + 25); }},
        {"rectangle over the bottom edge",
         [](Canvas& c, std::int32_t o) { c.Rectangle(o + 5, o + 10, o + 9, o + 30); }},
        {"lines across every edge",
         [](Canvas& c, std::int32_t o) {
             c.MoveTo(o - 10, o - 7);
             c.LineTo(o + 45, o + 31);
             c.LineTo(o + 3, o + 40);
             c.LineTo(o - 20, o + 1);
             c.LineTo(o + 50, o + 2);
         }},
    };
    for (const Case& c : cases) {
        // At every density whose scaled offset is whole, as 40 is for all of these.
        for (double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
            const DeviceScale scale = DeviceScale::FromRatio(ratio);
            BitmapCanvas large =
                MakeCanvas(kW + 2 * kOff, kH + 2 * kOff, TBrushStyle::bsSolid, scale);
            BitmapCanvas small = MakeCanvas(kW, kH, TBrushStyle::bsSolid, scale);
            c.draw(large, kOff);
            c.draw(small, 0);
            const std::int64_t off = scale.ToDevice(kOff);
            // The small surface equals the large one's window, pixel for pixel.
            const Bitmap& part = small.Pixels();
            bool same = true;
            for (std::int32_t y = 0; y < part.Height(); ++y)
                for (std::int32_t x = 0; x < part.Width(); ++x)
                    same = same && part.Pixel(x, y) ==
                                       large.Pixels().Pixel(static_cast<std::int32_t>(x + off),
                                                            static_cast<std::int32_t>(y + off));
            EXPECT_TRUE(same) << c.name << " at " << ratio;
        }
    }
}

TEST(CanvasClipping, ExtremeCoordinatesAreSafe) {
    for (double ratio : {1.0, 1.5, 3.0, 16.0}) {
        constexpr std::int32_t kMin = INT32_MIN, kMax = INT32_MAX;
        BitmapCanvas canvas =
            MakeCanvas(16, 16, TBrushStyle::bsSolid, DeviceScale::FromRatio(ratio));
        const std::int32_t side = canvas.Pixels().Width();
        canvas.Rectangle(kMin, kMin, kMax, kMax);
        EXPECT_EQ(Count(canvas.Pixels(), kFill), side * side);

        canvas.Brush.Color = kBack;
        canvas.Pen.Color = kBack;
        canvas.Ellipse(kMin, kMin, kMax, kMax);  // covers the whole surface from far away
        EXPECT_EQ(Count(canvas.Pixels(), kBack), side * side);

        canvas.Pen.Color = kPen;
        canvas.MoveTo(kMin, 5);
        canvas.LineTo(kMax, 5);
        EXPECT_EQ(Count(canvas.Pixels(), kPen), side * canvas.Scale().PenWidth());
        canvas.MoveTo(kMin, kMin);
        canvas.LineTo(kMax, kMax);
        canvas.MoveTo(kMax, kMin);
        canvas.LineTo(kMin, kMax);

        // Figures entirely off the surface, radials on the centre, empty rectangles.
        canvas.Pie(kMin, kMin, kMax, kMax, 0, 0, 0, 0);
        canvas.Pie(10, 10, 20, 20, 15, 15, 15, 15);
        canvas.Pie(kMax - 10, kMax - 10, kMax, kMax, kMin, kMin, kMax, kMax);
        canvas.Ellipse(-100, -100, -50, -50);
        canvas.Ellipse(kMax, kMax, kMax, kMax);
        canvas.Rectangle(kMin, 0, kMin, 16);
    }
    SUCCEED();  // the sanitizers watch for stray writes and overflow
}

TEST(CanvasChanges, ReportsTheBoundsOfChangedPixelsOnce) {
    BitmapCanvas canvas = MakeCanvas(50, 50);
    EXPECT_TRUE(canvas.TakeChangedRect().IsEmpty());
    canvas.Ellipse(10, 12, 20, 30);
    canvas.MoveTo(30, 5);
    canvas.LineTo(35, 5);
    EXPECT_EQ(canvas.TakeChangedRect(), (TRect{10, 5, 35, 30}));
    EXPECT_TRUE(canvas.TakeChangedRect().IsEmpty());

    // Drawing the same thing again changes no pixel.
    canvas.Ellipse(10, 12, 20, 30);
    EXPECT_TRUE(canvas.TakeChangedRect().IsEmpty());

    canvas.Pen.Color = clBlack;
    canvas.MoveTo(0, 49);
    canvas.LineTo(100, 49);
    EXPECT_EQ(canvas.TakeChangedRect(), (TRect{0, 49, 50, 50}));
}

TEST(CanvasChanges, RandomFiguresAnywhereReportEveryChangedPixel) {
    const unsigned seed = test::TestSeed();
    std::mt19937 random(seed);
    const auto coordinate = [&]() -> std::int32_t {
        switch (random() % 8) {
            case 0:
                return static_cast<std::int32_t>(random());  // anywhere at all
            case 1:
                return static_cast<std::int32_t>(random() % 2000) - 1000;
            default:
                return static_cast<std::int32_t>(random() % 60) - 15;
        }
    };
    const TColor colours[] = {clBlack, clWhite, clYellow, clRed};
    BitmapCanvas canvas(static_cast<std::int32_t>(1 + random() % 40),
                        static_cast<std::int32_t>(1 + random() % 30));
    Bitmap before = canvas.Pixels();
    for (int i = 0; i < 3000; ++i) {
        canvas.Pen.Color = colours[random() % 4];
        canvas.Brush = {colours[random() % 4],
                        random() % 3 ? TBrushStyle::bsSolid : TBrushStyle::bsClear};
        const std::int32_t c[8] = {coordinate(), coordinate(), coordinate(), coordinate(),
                                   coordinate(), coordinate(), coordinate(), coordinate()};
        switch (random() % 5) {
            case 0:
                canvas.Ellipse(c[0], c[1], c[2], c[3]);
                break;
            case 1:
                canvas.Pie(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
                break;
            case 2:
                canvas.Rectangle(c[0], c[1], c[2], c[3]);
                break;
            case 3:  // horizontal and vertical lines take their own paths
                canvas.MoveTo(c[0], c[1]);
                canvas.LineTo(random() % 2 ? c[0] : c[2], random() % 2 ? c[1] : c[3]);
                break;
            default:
                canvas.MoveTo(c[0], c[1]);
                canvas.LineTo(c[2], c[3]);
                break;
        }
        if (random() % 4 == 0) {
            // It may also hold pixels changed and changed back since the last report,
            // but never misses one that differs, and never leaves the surface.
            const TRect changed = canvas.TakeChangedRect();
            const TRect differs = test::Difference(before, canvas.Pixels()).area;
            ASSERT_EQ(changed.United(differs), changed)
                << "DORVATH_SEED=" << seed << ", step " << i;
            const TRect surface{0, 0, canvas.Width(), canvas.Height()};
            ASSERT_EQ(surface.United(changed), surface)
                << "DORVATH_SEED=" << seed << ", step " << i;
            before = canvas.Pixels();
        }
    }
}

TEST(CanvasPixels, StoredForDisplayAndReadBackAsColours) {
    BitmapCanvas canvas = MakeCanvas(2, 1);
    canvas.Pen.Color = 0x336699;  // $00BBGGRR: red 0x99, green 0x66, blue 0x33
    canvas.Rectangle(0, 0, 1, 1);
    EXPECT_EQ(canvas.Pixels().Pixel(0, 0), 0x336699u);
    EXPECT_EQ(canvas.Pixels().Bits()[0], 0xFF996633u);
    EXPECT_EQ(canvas.Pixels().Bits()[1], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace dorvath

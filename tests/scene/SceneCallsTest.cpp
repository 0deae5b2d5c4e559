// The frame as a sequence of drawing calls with their integer arguments and the pen
// and brush in force at each.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "scene/Numeric.h"
#include "scene/Scene.h"

namespace dorvath {
namespace {

struct Call {
    std::string op;
    std::vector<std::int32_t> args;
    TColor pen = 0;
    TColor brush = 0;
    TBrushStyle style = TBrushStyle::bsSolid;
    friend bool operator==(const Call&, const Call&) = default;
};

std::ostream& operator<<(std::ostream& os, const Call& c) {
    os << c.op << "(";
    for (std::size_t i = 0; i < c.args.size(); ++i)
        os << (i ? ", " : "") << c.args[i];
    return os << ") pen $" << std::hex << c.pen << " brush $" << c.brush << std::dec
              << (c.style == TBrushStyle::bsSolid ? " solid" : " clear");
}

class RecordingCanvas final : public Canvas {
public:
    std::vector<Call> calls;

    std::int32_t Width() const override { return 300; }
    std::int32_t Height() const override { return 300; }
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        Record("Ellipse", {x1, y1, x2, y2});
    }
    void Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
             std::int32_t y3, std::int32_t x4, std::int32_t y4) override {
        Record("Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
    }
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
        Record("Rectangle", {x1, y1, x2, y2});
    }

protected:
    void DrawLine(TPoint from, TPoint to) override { Record("Line", {from.X, from.Y, to.X, to.Y}); }

private:
    void Record(std::string op, std::vector<std::int32_t> args) {
        calls.push_back({std::move(op), std::move(args), Pen.Color, Brush.Color, Brush.Style});
    }
};

constexpr auto kSolid = TBrushStyle::bsSolid;
constexpr auto kClear = TBrushStyle::bsClear;

// The calls of one frame for a planet erased at `old` and drawn at `now`, with their pies
// and marker tip given.
std::vector<Call> ExpectedFrame(std::vector<std::int32_t> oldDisc, std::vector<std::int32_t> oldPie,
                                std::vector<std::int32_t> disc, std::vector<std::int32_t> pie,
                                std::vector<std::int32_t> marker) {
    return {
        {"Ellipse", oldDisc, clWhite, clWhite, kSolid},
        {"Pie", oldPie, clWhite, clWhite, kSolid},
        {"Ellipse", {130, 130, 170, 170}, clBlack, clYellow, kSolid},
        {"Line", {0, 150, 300, 150}, clBlue, clYellow, kSolid},
        {"Line", {150, 0, 150, 300}, clBlue, clYellow, kSolid},
        {"Ellipse", {50, 50, 250, 250}, clBlue, clYellow, kClear},
        {"Ellipse", disc, clBlack, clYellow, kSolid},
        {"Pie", pie, clBlack, clSilver, kSolid},
        {"Line", marker, clRed, clSilver, kSolid},
    };
}

std::vector<Call> Record(const PlanetState& s) {
    RecordingCanvas canvas;
    // Leftovers from an earlier frame must not matter.
    canvas.Pen.Color = 0x123456;
    canvas.Brush = {0x654321, kClear};
    DrawScene(canvas, s);
    return canvas.calls;
}

PlanetState StateAt(double prevOrbit, double orbit) {
    PlanetState s = PlanetState::Create(300, 300);
    s.AdvanceOrbit(prevOrbit);
    s.CommitDrawn();
    s.AdvanceOrbit(orbit - prevOrbit);
    return s;
}

TEST(SceneCalls, WorkedFrames) {
    struct Case {
        const char* name;
        double prev, orbit;
        std::vector<Call> expected;
    };
    const std::vector<std::int32_t> startDisc = {130, 30, 170, 70};
    const std::vector<std::int32_t> startPie = {130, 30, 170, 70, 169, 50, 131, 50};
    const Case cases[] = {
        {"start picture", 0, 0,
         ExpectedFrame(startDisc, startPie, startDisc, startPie, {150, 50, 150, 30})},
        {"one 5-degree step", 0, 5,
         ExpectedFrame(startDisc, startPie, {139, 30, 179, 70},
                       {139, 30, 179, 70, 178, 51, 140, 49}, {159, 50, 162, 30})},
        {"a quarter orbit", 89, 90,
         ExpectedFrame({230, 128, 270, 168}, {230, 128, 270, 168, 250, 167, 250, 129},
                       {230, 130, 270, 170}, {230, 130, 270, 170, 250, 169, 250, 131},
                       {250, 150, 264, 164})},
        {"half an orbit", 180, 180,
         ExpectedFrame({130, 230, 170, 270}, {130, 230, 170, 270, 130, 250, 170, 250},
                       {130, 230, 170, 270}, {130, 230, 170, 270, 130, 250, 170, 250},
                       {150, 250, 130, 250})},
        {"three quarters", 270, 270,
         ExpectedFrame({30, 130, 70, 170}, {30, 130, 70, 170, 50, 130, 50, 170}, {30, 130, 70, 170},
                       {30, 130, 70, 170, 50, 130, 50, 170}, {50, 150, 64, 136})},
    };
    for (const Case& c : cases) {
        const auto actual = Record(StateAt(c.prev, c.orbit));
        ASSERT_EQ(actual.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i], c.expected[i]) << c.name << ", call " << i;
        }
    }
}

TEST(SceneCalls, MarkerTurnsWithTheSpin) {
    struct Case {
        double spin;
        std::vector<std::int32_t> line;
    };
    // The planet stays at the start position; only the spin varies.
    for (const Case& c : {Case{0, {150, 50, 150, 30}}, Case{7.5, {150, 50, 153, 30}},
                          Case{90, {150, 50, 170, 50}}, Case{540, {150, 50, 150, 70}},
                          Case{1080, {150, 50, 150, 30}}, Case{-90, {150, 50, 130, 50}}}) {
        PlanetState s = PlanetState::Create(300, 300);
        s.SpinAngle = c.spin;
        const auto calls = Record(s);
        EXPECT_EQ(calls.back().op, "Line");
        EXPECT_EQ(calls.back().args, c.line) << "spin " << c.spin;
    }
}

TEST(SceneCalls, PositionsFollowTheCentreOfAnOddSurface) {
    const PlanetState s = PlanetState::Create(301, 299);  // centre (150, 149)
    EXPECT_EQ(PlanetPosition(s, 0), (TPoint{150, 49}));
    EXPECT_EQ(PlanetPosition(s, 90), (TPoint{250, 149}));
    EXPECT_EQ(PlanetPosition(s, 180), (TPoint{150, 249}));
    EXPECT_EQ(PlanetPosition(s, 270), (TPoint{50, 149}));
    EXPECT_EQ(PlanetPosition(s, 360 * 1000 + 90), (TPoint{250, 149}));
}

TEST(SceneNumeric, RoundHalvesToEvenAndTruncTowardZero) {
    struct Case {
        long double v;
        std::int32_t round, trunc;
    };
    for (const Case c : {Case{0.5L, 0, 0}, Case{1.5L, 2, 1}, Case{2.5L, 2, 2}, Case{-0.5L, 0, 0},
                         Case{-1.5L, -2, -1}, Case{-2.5L, -2, -2}, Case{-19.5L, -20, -19},
                         Case{-1.24L, -1, -1}, Case{19.7L, 20, 19}, Case{-19.7L, -20, -19}}) {
        EXPECT_EQ(Round(c.v), c.round) << static_cast<double>(c.v);
        EXPECT_EQ(Trunc(c.v), c.trunc) << static_cast<double>(c.v);
    }
}

// The integers a frame is drawn from, as sine and cosine of angle * pi / 180 give
// them: the planet's offset (radius 100), the night side's chord (radius 20, Trunc of
// v + 0.5) and the marker's tip (length 20). The products are rounded to Real.
template <typename Real>
std::vector<std::int32_t> FrameIntegers(Real sin, Real cos) {
    const Real orbit = 100, planet = 20, half = 0.5;
    return {Round(orbit * sin),         Round(orbit * cos),  Trunc(planet * sin + half),
            Trunc(planet * cos + half), Round(planet * sin), Round(planet * cos)};
}

// Far out, after years of running; each is taken with the eight octants around it.
constexpr double kFarAngles[] = {1e6,         1e8,       1e8 + 0.5,  123456789.0,
                                 1.5e8 + 1.5, 1e9 + 7.0, -1e8 - 90.0};

TEST(SceneNumeric, ReducedSineGivesTheIntegersOfTheDirectFormula) {
    std::vector<double> angles;
    for (int half = -2880; half <= 2880; ++half)
        angles.push_back(half * 0.5);
    for (double far : kFarAngles) {
        for (int i = 0; i < 8; ++i)
            angles.push_back(far + i * 45.0);
    }
    for (double angle : angles) {
        const long double radians = static_cast<long double>(angle) * kPi / 180.0L;
        const SinCos reduced = SinCosDegrees(angle);
        EXPECT_EQ(FrameIntegers(reduced.sin, reduced.cos),
                  FrameIntegers(std::sin(radians), std::cos(radians)))
            << "angle " << angle;
        EXPECT_NEAR(static_cast<double>(reduced.sin), static_cast<double>(std::sin(radians)), 1e-9);
    }
}

// Where long double is only a double (MSVC) a frame must still come out the same. Every
// angle a frame uses is a whole or half degree (the spin is 1.5 times whole degrees),
// and the exact reduction makes any of them equal to one within a turn, so a full turn
// of half degrees, with the quadrant boundaries on both sides, covers them all. Each
// value also stays well clear of the point where its integer would change, so a sine
// a few units in the last place off, as another library's may be, changes nothing.
TEST(SceneNumeric, FiftyThreeBitsGiveTheSameIntegersAsExtendedPrecision) {
    std::vector<double> angles;
    for (int half = -720; half <= 720; ++half)
        angles.push_back(half * 0.5);
    for (double far : kFarAngles) {
        for (int i = 0; i < 16; ++i)
            angles.push_back(far + i * 22.5);
    }
    // How far v is from the nearest of the points offset + n, n any integer.
    const auto clearance = [](long double v, long double offset) {
        const long double frac = (v - offset) - std::floor(v - offset);
        return std::min(frac, 1.0L - frac);
    };
    for (double angle : angles) {
        const SinCosOf<long double> extended = SinCosDegrees<long double>(angle);
        const SinCosOf<double> plain = SinCosDegrees<double>(angle);
        EXPECT_EQ(FrameIntegers(plain.sin, plain.cos), FrameIntegers(extended.sin, extended.cos))
            << "angle " << angle;
        for (const long double v : {extended.sin, extended.cos}) {
            // Round changes at the halves, Trunc at the integers.
            EXPECT_GT(clearance(100.0L * v, 0.5L), 1e-9L) << "angle " << angle;
            EXPECT_GT(clearance(20.0L * v, 0.5L), 1e-9L) << "angle " << angle;
            EXPECT_GT(clearance(20.0L * v + 0.5L, 0.0L), 1e-9L) << "angle " << angle;
        }
    }
}

}  // namespace
}  // namespace dorvath

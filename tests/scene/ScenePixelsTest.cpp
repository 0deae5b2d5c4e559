// The frame as pixels on a retained surface: what it shows, what it leaves behind and
// where it is allowed to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "canvas/BitmapCanvas.h"
#include "scene/Frame.h"
#include "scene/Scene.h"
#include "support/Pictures.h"
#include "support/Seed.h"

namespace dorvath {
namespace {

using test::FrameFromScratch;
using test::SamePicture;

// A surface with the running program's history: reset, then frames.
class Surface {
public:
    explicit Surface(DeviceScale scale = {}) : canvas(300, 300, clBlack, scale) { Reset(); }

    void Reset() { dorvath::Reset(canvas, state); }
    void Advance(double delta) { Step(canvas, state, delta); }

    PlanetState state = PlanetState::Create(300, 300);
    BitmapCanvas canvas;  // not white at first: the reset must clear it
};

std::string Name(const char* what, double angle) {
    return std::string(what) + "-" + std::to_string(static_cast<long>(angle));
}

// The densities screens come with, fractional ones included; 1 is the plain picture.
const double kScales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

// "1_25" for 1.25: a name gtest and file names take.
std::string ScaleLabel(double scale) {
    char label[16];
    std::snprintf(label, sizeof label, "%.2f", scale);
    std::string text(label);
    std::replace(text.begin(), text.end(), '.', '_');
    return text;
}

class SceneAtScale : public ::testing::TestWithParam<double> {
protected:
    DeviceScale Scale() const { return DeviceScale::FromRatio(GetParam()); }
    std::string Name(const char* what, double angle) const {
        std::string name(what);
        name.append("-x").append(ScaleLabel(GetParam())).append("-");
        name.append(std::to_string(static_cast<long>(angle)));
        return name;
    }
};

std::string ScaleName(const ::testing::TestParamInfo<double>& info) {
    return ScaleLabel(info.param);
}

TEST(SceneStartPicture, ShowsTheSceneAtItsPlaces) {
    Surface s;
    const Bitmap& b = s.canvas.Pixels();
    struct Probe {
        const char* what;
        std::int32_t x, y;
        TColor colour;
    };
    const Probe probes[] = {
        {"background", 10, 10, clWhite},
        {"background inside the orbit", 100, 100, clWhite},
        {"horizontal axis", 10, 150, clBlue},
        {"vertical axis", 150, 290, clBlue},
        {"axes cross the Sun", 150, 140, clBlue},
        {"Sun", 160, 160, clYellow},
        {"Sun's outline", 130, 155, clBlack},
        {"orbit", 50, 160, clBlue},
        {"orbit, right", 249, 160, clBlue},
        {"night half, upward", 140, 38, clSilver},
        {"day half, toward the Sun", 140, 62, clYellow},
        {"marker, pointing up", 150, 35, clRed},
        {"marker's start", 150, 50, clRed},
        {"below the marker's start", 150, 55, clYellow},
        {"planet's outline", 130, 52, clBlack},
        {"outside the planet", 125, 50, clWhite},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(b.Pixel(p.x, p.y), p.colour) << p.what;
    EXPECT_TRUE(SamePicture(b, FrameFromScratch(s.state), "start-picture"));
}

TEST_P(SceneAtScale, EveryTickAndEveryStepOverTwoOrbitsEqualsAFreshFrame) {
    struct Case {
        const char* name;
        double delta;
        int count;  // two orbits
    };
    for (const Case& c : {Case{"tick", 1.0, 720}, Case{"step", 5.0, 144}}) {
        Surface s(Scale());
        for (int i = 1; i <= c.count; ++i) {
            s.Advance(c.delta);
            ASSERT_TRUE(SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state, Scale()),
                                    Name(c.name, s.state.OrbitAngle)))
                << "after " << c.name << " " << i;
        }
        // Two orbits bring the planet and its marker back to the start picture.
        const Surface fresh(Scale());
        EXPECT_TRUE(SamePicture(s.canvas.Pixels(), fresh.canvas.Pixels(),
                                std::string(c.name) + "-after-two-orbits"));
    }
}

TEST_P(SceneAtScale, MixedStepsTicksAndResetsLeaveNoResidue) {
    const unsigned seed = test::TestSeed();
    std::mt19937 random(seed);
    Surface s(Scale());
    for (int i = 0; i < 2000; ++i) {
        const int pick = static_cast<int>(random() % 100);
        if (pick < 3) {
            s.Reset();
        } else if (pick < 30) {
            s.Advance(5.0);
        } else {
            s.Advance(1.0);
        }
        if (i % 50 == 49) {
            ASSERT_TRUE(SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state, Scale()),
                                    Name("mixed", s.state.OrbitAngle)))
                << "DORVATH_SEED=" << seed << ", event " << i;
        }
    }
    EXPECT_TRUE(
        SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state, Scale()), Name("mixed-end", 0)))
        << "DORVATH_SEED=" << seed;
}

TEST(SceneNoResidue, FarIntoALongRunTheFrameMatchesItsEarlyTwin) {
    // About four months of ticks: positions and marker repeat every 720 degrees.
    for (double orbit : {100'000'000.0, 100'000'001.0, 123'456'789.0, 1e9 + 7.0}) {
        PlanetState far = PlanetState::Create(300, 300);
        far.AdvanceOrbit(orbit);
        PlanetState early = PlanetState::Create(300, 300);
        early.AdvanceOrbit(std::fmod(orbit, 720.0));
        EXPECT_TRUE(
            SamePicture(FrameFromScratch(far), FrameFromScratch(early), Name("long-run", orbit)));

        // Ticks and a step drawn there still leave no residue.
        BitmapCanvas canvas(300, 300, clWhite);
        DrawScene(canvas, far);
        far.CommitDrawn();
        for (double delta : {1.0, 1.0, 5.0})
            Step(canvas, far, delta);
        EXPECT_EQ(far.OrbitAngle, orbit + 7.0);
        EXPECT_EQ(far.SpinAngle, (orbit + 7.0) * 1.5);
        EXPECT_TRUE(
            SamePicture(canvas.Pixels(), FrameFromScratch(far), Name("long-run-ticks", orbit)));
    }
}

// The marker has no erase of its own: the disc painted over it by the next frame must
// cover it for every spin a tick or a step can produce (multiples of 1.5 degrees).
// The marker is erased with the disc it stands on: drawn on a blank surface and
// painted over with the disc in the background colour, it leaves nothing. The surface
// is blank again after each case that holds, so one serves them all, and only what the
// drawing changed needs looking at.
class MarkerCheck {
public:
    explicit MarkerCheck(DeviceScale scale) : canvas_(300, 300, clWhite, scale) {}

    bool ErasedByItsDisc(TPoint p, double spin) {
        DrawSpinMarker(canvas_, p.X, p.Y, 20.0, spin);
        DrawPlanet(canvas_, p.X, p.Y, 20.0, false, clWhite);
        const TRect changed = canvas_.TakeChangedRect();
        for (std::int32_t y = changed.Top; y < changed.Bottom; ++y)
            for (std::int32_t x = changed.Left; x < changed.Right; ++x)
                if (canvas_.Pixels().Pixel(x, y) != clWhite)
                    return false;
        return true;
    }

private:
    BitmapCanvas canvas_;
};

TEST_P(SceneAtScale, MarkerLiesInsideTheDiscTheNextEraseCovers) {
    PlanetState s = PlanetState::Create(300, 300);
    MarkerCheck check(Scale());
    for (int orbit = 0; orbit < 720; ++orbit) {
        s.AdvanceOrbit(orbit - s.OrbitAngle);
        ASSERT_TRUE(check.ErasedByItsDisc(PlanetPosition(s, s.OrbitAngle), s.SpinAngle))
            << "orbit " << s.OrbitAngle << ", spin " << s.SpinAngle;
    }
}

TEST_P(SceneAtScale, MarkerAtEveryHalfDegreeAtAnyPlaceStaysInsideTheDisc) {
    // Wider than the program needs: any half degree, at places whose scaled position
    // rounds each way.
    MarkerCheck check(Scale());
    for (TPoint p : {TPoint{150, 50}, TPoint{21, 21}, TPoint{278, 278}, TPoint{151, 53}}) {
        for (int half = 0; half < 720; ++half) {
            ASSERT_TRUE(check.ErasedByItsDisc(p, half * 0.5))
                << "angle " << half * 0.5 << " at " << p.X << "," << p.Y;
        }
    }
}

// Marks the pixels a frame may write: both discs, the Sun, the axes and the orbit.
Bitmap AllowedPixels(const PlanetState& s, DeviceScale scale) {
    BitmapCanvas mask(300, 300, clWhite, scale);
    mask.Pen.Color = clBlack;
    mask.Brush = {clBlack, TBrushStyle::bsSolid};
    for (double angle : {s.PrevOrbitAngle, s.OrbitAngle}) {
        const TPoint p = PlanetPosition(s, angle);
        mask.Ellipse(p.X - 20, p.Y - 20, p.X + 20, p.Y + 20);
    }
    mask.Ellipse(130, 130, 170, 170);
    mask.MoveTo(0, 150);
    mask.LineTo(300, 150);
    mask.MoveTo(150, 0);
    mask.LineTo(150, 300);
    mask.Brush.Style = TBrushStyle::bsClear;
    mask.Ellipse(50, 50, 250, 250);
    return mask.Pixels();
}

TEST_P(SceneAtScale, FrameWritesNothingOutsideItsFigures) {
    constexpr TColor kUntouched = 0x00FF00;  // no figure uses green
    for (double prev = 0; prev < 360; prev += 7) {
        for (double delta : {0.0, 1.0, 5.0}) {
            PlanetState s = PlanetState::Create(300, 300);
            s.AdvanceOrbit(prev);
            s.CommitDrawn();
            s.AdvanceOrbit(delta);
            BitmapCanvas canvas(300, 300, kUntouched, Scale());
            DrawScene(canvas, s);
            const Bitmap allowed = AllowedPixels(s, Scale());
            for (std::int32_t y = 0; y < allowed.Height(); ++y) {
                for (std::int32_t x = 0; x < allowed.Width(); ++x) {
                    if (canvas.Pixels().Pixel(x, y) != kUntouched) {
                        ASSERT_EQ(allowed.Pixel(x, y), clBlack)
                            << "wrote (" << x << ", " << y << ") for " << prev << " + " << delta;
                    }
                }
            }
        }
    }
}

TEST_P(SceneAtScale, FrameReportsAChangedAreaAroundThePlanetsAndTheSun) {
    // The frame really changes only the old and the new planet; the Sun's fill briefly
    // covers the axes, which are redrawn, so its box may be reported too. Nothing else
    // is, so a display repaints little.
    for (double delta : {1.0, 5.0}) {
        for (double prev = 0; prev < 360; prev += 30) {
            Surface s(Scale());
            s.Advance(prev);
            s.canvas.TakeChangedRect();
            const Bitmap before = s.canvas.Pixels();
            s.Advance(delta);
            const TRect changed = s.canvas.TakeChangedRect();
            const TRect differs = test::Difference(before, s.canvas.Pixels()).area;
            EXPECT_EQ(changed.United(differs), changed) << prev << " + " << delta;
            const TPoint a = PlanetPosition(s.state, prev),
                         b = PlanetPosition(s.state, prev + delta);
            const auto device = [&](TRect r) {
                const DeviceScale& d = s.canvas.Scale();
                return TRect{static_cast<std::int32_t>(d.ToDevice(r.Left)),
                             static_cast<std::int32_t>(d.ToDevice(r.Top)),
                             static_cast<std::int32_t>(d.ToDevice(r.Right)),
                             static_cast<std::int32_t>(d.ToDevice(r.Bottom))};
            };
            const TRect allowed = device({a.X - 20, a.Y - 20, a.X + 20, a.Y + 20})
                                      .United(device({b.X - 20, b.Y - 20, b.X + 20, b.Y + 20}))
                                      .United(device({130, 130, 170, 170}));
            EXPECT_EQ(allowed.United(changed), allowed) << prev << " + " << delta;
        }
    }
}

// The length of the run of one colour through (x, y), along a column or a row.
int RunThrough(const Bitmap& b, std::int32_t x, std::int32_t y, bool down) {
    const TColor c = b.Pixel(x, y);
    int n = 1;
    for (std::int32_t k = 1;
         (down ? y - k : x - k) >= 0 && (down ? b.Pixel(x, y - k) : b.Pixel(x - k, y)) == c; ++k)
        ++n;
    for (std::int32_t k = 1; (down ? y + k < b.Height() : x + k < b.Width()) &&
                             (down ? b.Pixel(x, y + k) : b.Pixel(x + k, y)) == c;
         ++k)
        ++n;
    return n;
}

// Every line of the picture has one width in device pixels, whatever the density: the
// axes measured across, the orbit where it runs nearly level, the planet's and the
// Sun's outlines. And no colour but the scene's own.
TEST_P(SceneAtScale, LinesHaveOneWidthAndThePictureOnlyTheScenesColours) {
    const Surface s(Scale());
    const Bitmap& b = s.canvas.Pixels();
    const DeviceScale d = Scale();
    const int width = d.PenWidth();
    const auto at = [&](std::int64_t logical) {
        return static_cast<std::int32_t>(d.ToDevice(logical));
    };
    struct Samples {
        const char* what;
        int exact = 0, total = 0, worst = 0;
    };
    const auto sample = [&](Samples& m, std::int32_t x, std::int32_t y, bool down) {
        const int n = RunThrough(b, x, y, down);
        ++m.total;
        m.exact += n == width;
        m.worst = std::max(m.worst, std::abs(n - width));
    };
    // The first pixel of colour c from (x, y) on, going down a column or along a row.
    const auto find = [&](std::int32_t x, std::int32_t y, bool down, TColor c) {
        while (b.Pixel(x, y) != c)
            down ? ++y : ++x;
        return down ? y : x;
    };
    Samples axisH{"horizontal axis"}, axisV{"vertical axis"}, orbit{"orbit, bottom"},
        orbitSide{"orbit, left"}, sun{"Sun's outline"};
    for (std::int32_t x = at(0); x < at(120); ++x)  // left of the Sun, clear of the orbit's rim
        if (x < at(45) || x > at(55))
            sample(axisH, x, find(x, at(140), true, clBlue), true);
    for (std::int32_t y = at(180); y < at(300); ++y)
        if (y < at(245) || y > at(255))
            sample(axisV, find(at(140), y, false, clBlue), y, false);
    for (std::int32_t x = at(120); x < at(180); ++x)  // the orbit's lowest stretch
        if (x < at(148) || x > at(152))
            sample(orbit, x, find(x, at(230), true, clBlue), true);
    for (std::int32_t y = at(120); y < at(180); ++y)
        if (y < at(148) || y > at(152))
            sample(orbitSide, find(at(40), y, false, clBlue), y, false);
    for (std::int32_t x = at(140); x < at(160); ++x)
        if (x < at(148) || x > at(152))
            sample(sun, x, find(x, at(120), true, clBlack), true);
    for (const Samples& m : {axisH, axisV, orbit, orbitSide, sun}) {
        EXPECT_GE(m.exact * 100, m.total * 95) << m.what << ": " << m.exact << " of " << m.total
                                               << " samples are " << width << " wide";
        EXPECT_LE(m.worst, 1) << m.what;
    }
    for (std::int32_t y = 0; y < b.Height(); ++y) {
        for (std::int32_t x = 0; x < b.Width(); ++x) {
            const TColor c = b.Pixel(x, y);
            ASSERT_TRUE(c == clWhite || c == clBlack || c == clYellow || c == clSilver ||
                        c == clRed || c == clBlue)
                << std::hex << c << " at " << std::dec << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Densities, SceneAtScale, ::testing::ValuesIn(kScales), ScaleName);

}  // namespace
}  // namespace dorvath

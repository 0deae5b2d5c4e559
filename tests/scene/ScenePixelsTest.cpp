// The frame as pixels on a retained surface: what it shows, what it leaves behind and
// where it is allowed to write.
#include <gtest/gtest.h>

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
    Surface() { Reset(); }

    void Reset() { dorvath::Reset(canvas, state); }
    void Advance(double delta) { Step(canvas, state, delta); }

    PlanetState state = PlanetState::Create(300, 300);
    BitmapCanvas canvas{300, 300, clBlack};  // not white: the reset must clear it
};

std::string Name(const char* what, double angle) {
    return std::string(what) + "-" + std::to_string(static_cast<long>(angle));
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

TEST(SceneNoResidue, EveryTickAndEveryStepOverTwoOrbitsEqualsAFreshFrame) {
    struct Case {
        const char* name;
        double delta;
        int count;  // two orbits
    };
    for (const Case& c : {Case{"tick", 1.0, 720}, Case{"step", 5.0, 144}}) {
        Surface s;
        for (int i = 1; i <= c.count; ++i) {
            s.Advance(c.delta);
            ASSERT_TRUE(SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state),
                                    Name(c.name, s.state.OrbitAngle)))
                << "after " << c.name << " " << i;
        }
        // Two orbits bring the planet and its marker back to the start picture.
        const Surface fresh;
        EXPECT_TRUE(SamePicture(s.canvas.Pixels(), fresh.canvas.Pixels(),
                                std::string(c.name) + "-after-two-orbits"));
    }
}

TEST(SceneNoResidue, MixedStepsTicksAndResets) {
    const unsigned seed = test::TestSeed();
    std::mt19937 random(seed);
    Surface s;
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
            ASSERT_TRUE(SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state),
                                    Name("mixed", s.state.OrbitAngle)))
                << "DORVATH_SEED=" << seed << ", event " << i;
        }
    }
    EXPECT_TRUE(SamePicture(s.canvas.Pixels(), FrameFromScratch(s.state), "mixed-end"))
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
TEST(SceneMarker, LiesInsideTheDiscTheNextEraseCovers) {
    PlanetState s = PlanetState::Create(300, 300);
    for (int orbit = 0; orbit < 720; ++orbit) {
        s.AdvanceOrbit(orbit - s.OrbitAngle);
        const TPoint p = PlanetPosition(s, s.OrbitAngle);
        BitmapCanvas canvas(300, 300, clWhite);
        DrawSpinMarker(canvas, p.X, p.Y, s.PlanetRadius, s.SpinAngle);
        DrawPlanet(canvas, p.X, p.Y, s.PlanetRadius, false, s.BackColor);
        ASSERT_TRUE(SamePicture(canvas.Pixels(), Bitmap(300, 300, clWhite),
                                Name("marker-residue", s.SpinAngle)))
            << "spin " << s.SpinAngle;
    }
}

TEST(SceneMarker, EveryHalfDegreeAtAnyPlaceStaysInsideTheDisc) {
    // Wider than the program needs: any half degree, at a few places of the disc.
    for (TPoint p : {TPoint{150, 50}, TPoint{21, 21}, TPoint{278, 278}}) {
        for (int half = 0; half < 720; ++half) {
            BitmapCanvas canvas(300, 300, clWhite);
            DrawSpinMarker(canvas, p.X, p.Y, 20.0, half * 0.5);
            DrawPlanet(canvas, p.X, p.Y, 20.0, false, clWhite);
            ASSERT_TRUE(canvas.Pixels() == Bitmap(300, 300, clWhite))
                << "angle " << half * 0.5 << " at " << p.X << "," << p.Y;
        }
    }
}

// Marks the pixels a frame may write: both discs, the Sun, the axes and the orbit.
Bitmap AllowedPixels(const PlanetState& s) {
    BitmapCanvas mask(300, 300, clWhite);
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

TEST(SceneFrame, WritesNothingOutsideItsFigures) {
    constexpr TColor kUntouched = 0x00FF00;  // no figure uses green
    for (double prev = 0; prev < 360; prev += 7) {
        for (double delta : {0.0, 1.0, 5.0}) {
            PlanetState s = PlanetState::Create(300, 300);
            s.AdvanceOrbit(prev);
            s.CommitDrawn();
            s.AdvanceOrbit(delta);
            BitmapCanvas canvas(300, 300, kUntouched);
            DrawScene(canvas, s);
            const Bitmap allowed = AllowedPixels(s);
            for (std::int32_t y = 0; y < 300; ++y) {
                for (std::int32_t x = 0; x < 300; ++x) {
                    if (canvas.Pixels().Pixel(x, y) != kUntouched) {
                        ASSERT_EQ(allowed.Pixel(x, y), clBlack)
                            << "wrote (" << x << ", " << y << ") for " << prev << " + " << delta;
                    }
                }
            }
        }
    }
}

TEST(SceneFrame, ReportsAChangedAreaAroundThePlanetsAndTheSun) {
    // The frame really changes only the old and the new planet; the Sun's fill briefly
    // covers the axes, which are redrawn, so its box may be reported too. Nothing else
    // is, so a display repaints little.
    for (double delta : {1.0, 5.0}) {
        for (double prev = 0; prev < 360; prev += 30) {
            Surface s;
            s.Advance(prev);
            s.canvas.TakeChangedRect();
            const Bitmap before = s.canvas.Pixels();
            s.Advance(delta);
            const TRect changed = s.canvas.TakeChangedRect();
            const TRect differs = test::Difference(before, s.canvas.Pixels()).area;
            EXPECT_EQ(changed.United(differs), changed) << prev << " + " << delta;
            const TPoint a = PlanetPosition(s.state, prev),
                         b = PlanetPosition(s.state, prev + delta);
            const TRect allowed = TRect{a.X - 20, a.Y - 20, a.X + 20, a.Y + 20}
                                      .United({b.X - 20, b.Y - 20, b.X + 20, b.Y + 20})
                                      .United({130, 130, 170, 170});
            EXPECT_EQ(allowed.United(changed), allowed) << prev << " + " << delta;
        }
    }
}

}  // namespace
}  // namespace dorvath

#include "state/PlanetState.h"

#include <gtest/gtest.h>

namespace dorvath {
namespace {

TEST(PlanetStateCreate, FreshStateForA300Surface) {
    const PlanetState s = PlanetState::Create(300, 300);
    EXPECT_EQ(s.OrbitAngle, 0.0);
    EXPECT_EQ(s.PrevOrbitAngle, 0.0);
    EXPECT_EQ(s.SpinAngle, 0.0);
    EXPECT_EQ(s.SpinRatio, 1.5);
    EXPECT_EQ(s.OrbitRadius, 100.0);
    EXPECT_EQ(s.PlanetRadius, 20.0);
    EXPECT_EQ(s.CenterX, 150);
    EXPECT_EQ(s.CenterY, 150);
    EXPECT_EQ(s.BackColor, 0xFFFFFFu);
}

TEST(PlanetStateCreate, CentreTruncatesAndRadiiDoNotFollowTheSurface) {
    struct Case {
        std::int32_t width, height, centerX, centerY;
    };
    for (const Case c : {Case{300, 300, 150, 150}, Case{301, 299, 150, 149}, Case{1, 1, 0, 0},
                         Case{0, 0, 0, 0}, Case{1000, 7, 500, 3}}) {
        const PlanetState s = PlanetState::Create(c.width, c.height);
        EXPECT_EQ(s.CenterX, c.centerX) << c.width << "x" << c.height;
        EXPECT_EQ(s.CenterY, c.centerY) << c.width << "x" << c.height;
        EXPECT_EQ(s.OrbitRadius, 100.0);
        EXPECT_EQ(s.PlanetRadius, 20.0);
    }
}

TEST(PlanetStateRules, AdvanceKeepsThePreviousAngleUntilCommitted) {
    PlanetState s = PlanetState::Create(300, 300);
    s.AdvanceOrbit(5.0);
    EXPECT_EQ(s.OrbitAngle, 5.0);
    EXPECT_EQ(s.SpinAngle, 7.5);
    EXPECT_EQ(s.PrevOrbitAngle, 0.0);
    s.AdvanceOrbit(1.0);  // two advances without a frame: the erase still targets 0
    EXPECT_EQ(s.PrevOrbitAngle, 0.0);
    s.CommitDrawn();
    EXPECT_EQ(s.PrevOrbitAngle, 6.0);
    EXPECT_EQ(s.OrbitAngle, 6.0);
}

TEST(PlanetStateRules, AnglesAreNeverReducedAndSpinIsDerivedNotAccumulated) {
    PlanetState s = PlanetState::Create(300, 300);
    for (int i = 0; i < 360; ++i) {
        s.AdvanceOrbit(1.0);
        s.CommitDrawn();
    }
    EXPECT_EQ(s.OrbitAngle, 360.0);
    EXPECT_EQ(s.SpinAngle, 540.0);
    EXPECT_EQ(s.PrevOrbitAngle, 360.0);
}

TEST(PlanetStateRules, LongRunStaysExact) {
    // About four months of running at one degree a tick, in 5-degree and 1-degree steps.
    PlanetState s = PlanetState::Create(300, 300);
    for (long i = 0; i < 20'000'000; ++i) {
        s.AdvanceOrbit(5.0);
    }
    s.AdvanceOrbit(1.0);
    EXPECT_EQ(s.OrbitAngle, 100'000'001.0);
    EXPECT_EQ(s.SpinAngle, 150'000'001.5);
}

TEST(PlanetStateRules, ResetZeroesTheAnglesAndKeepsTheGeometry) {
    PlanetState s = PlanetState::Create(301, 299);
    s.AdvanceOrbit(5.0);
    s.CommitDrawn();
    s.AdvanceOrbit(1.0);
    s.ResetAngles();
    EXPECT_EQ(s.OrbitAngle, 0.0);
    EXPECT_EQ(s.PrevOrbitAngle, 0.0);
    EXPECT_EQ(s.SpinAngle, 0.0);
    const PlanetState fresh = PlanetState::Create(301, 299);
    EXPECT_EQ(s.SpinRatio, fresh.SpinRatio);
    EXPECT_EQ(s.BackColor, fresh.BackColor);
    EXPECT_EQ(s.OrbitRadius, fresh.OrbitRadius);
    EXPECT_EQ(s.PlanetRadius, fresh.PlanetRadius);
    EXPECT_EQ(s.CenterX, 150);
    EXPECT_EQ(s.CenterY, 149);
}

}  // namespace
}  // namespace dorvath

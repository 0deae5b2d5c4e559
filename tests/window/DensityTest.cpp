// The window moved between screens of different densities (Qt's offscreen platform with
// three screens: 100 %, 200 % and 150 %): the picture is made anew at each screen's own
// resolution, from the state as it is, and nothing else changes.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "support/Form1Probe.h"
#include "support/Frames.h"
#include "support/Pictures.h"
#include "support/WindowPictures.h"
#include "window/Dorvath_u1.h"

namespace {

using dorvath::DeviceScale;

class Density : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::screens().size(), 3) << "the test's screens are not there";
        form.Timer1->SetInterval(3'600'000);  // ticks are given by hand
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Sends the window to a screen, as moving it there would.
    void MoveTo(const QString& screen) {
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->name() == screen)
                form.windowHandle()->setScreen(s);
        }
        ASSERT_EQ(form.windowHandle()->screen()->name(), screen);
        QCoreApplication::processEvents();
    }

    const dorvath::PlanetState& State() const { return TForm1Probe::State(form); }

    TForm1 form;
};

TEST_P(Density, MovedToAnotherScreenThePictureIsDrawnAfreshAtItsDensity) {
    const bool running = GetParam();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form.bVor, Qt::LeftButton);
    if (running) {
        QTest::mouseClick(form.bVorVor, Qt::LeftButton);
        form.Timer1Timer(form.Timer1);
    }
    const dorvath::PlanetState before = State();

    struct Stop {
        const char* screen;
        double ratio;
    };
    for (const Stop stop :
         {Stop{"dense", 2.0}, Stop{"laptop", 1.5}, Stop{"plain", 1.0}, Stop{"dense", 2.0}}) {
        MoveTo(stop.screen);
        EXPECT_DOUBLE_EQ(form.Image1->devicePixelRatioF(), stop.ratio);
        EXPECT_EQ(form.Image1->Canvas().Scale(), DeviceScale::FromRatio(stop.ratio));
        // No handler ran: the state and the timer are as they were.
        EXPECT_EQ(State().OrbitAngle, before.OrbitAngle);
        EXPECT_EQ(State().PrevOrbitAngle, before.PrevOrbitAngle);
        EXPECT_EQ(State().SpinAngle, before.SpinAngle);
        EXPECT_EQ(form.Timer1->Enabled(), running);
        const std::string name = std::string("density-").append(stop.screen);
        EXPECT_TRUE(dorvath::test::SamePicture(
            form.Image1->Canvas().Pixels(),
            dorvath::test::FrameFromScratch(State(), DeviceScale::FromRatio(stop.ratio)), name));
        // What the image control paints is that surface, one to one.
        EXPECT_TRUE(dorvath::test::SamePicture(dorvath::test::Painted(*form.Image1),
                                               form.Image1->Canvas().Pixels(), name + "-shown"));
    }

    // Going on there leaves no residue either.
    form.Timer1Timer(form.Timer1);
    QTest::mouseClick(form.bVor, Qt::LeftButton);
    EXPECT_EQ(State().OrbitAngle, before.OrbitAngle + 6.0);
    EXPECT_TRUE(dorvath::test::SamePicture(
        form.Image1->Canvas().Pixels(),
        dorvath::test::FrameFromScratch(State(), DeviceScale::FromRatio(2.0)), "density-after"));
    EXPECT_TRUE(dorvath::test::SamePicture(dorvath::test::Painted(*form.Image1),
                                           form.Image1->Canvas().Pixels(), "density-after-shown"));
}

INSTANTIATE_TEST_SUITE_P(WhileStoppedAndRunning, Density, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Running" : "Stopped";
                         });

}  // namespace

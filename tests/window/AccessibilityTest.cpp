// The window as assistive technology sees it, through Qt's QAccessible interfaces: the
// same objects the AT-SPI bridge hands to screen readers on Linux.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "window/Accessibility.h"
#include "window/Dorvath_u1.h"

namespace {

using namespace std::chrono_literals;

QAccessibleInterface* Interface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

std::string Text(QObject* object, QAccessible::Text what) {
    return Interface(object)->text(what).toStdString();
}

// Every object reachable from the window's interface, each checked to name the
// interface it was reached from as its parent.
void Collect(QAccessibleInterface* node, std::vector<QObject*>& found) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->parent(), node) << child->text(QAccessible::Name).toStdString();
        EXPECT_EQ(node->indexOfChild(child), i);
        found.push_back(child->object());
        Collect(child, found);
    }
}

class AccessibleWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // Ticks come only when a test calls the tick handler.
        form.Timer1->SetInterval(3'600'000);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    std::string Picture() { return Text(form.Image1, QAccessible::Description); }

    TForm1 form;
};

TEST_F(AccessibleWindow, IsAFrameNamedByItsTitleHoldingTheControls) {
    QAccessibleInterface* window = Interface(&form);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Quonsel"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&form)->parent()->role(),
              QAccessible::Application);

    std::vector<QObject*> found;
    Collect(window, found);
    for (QObject* control :
         std::vector<QObject*>{form.bVor, form.bVorVor, form.Image1, form.bClear})
        EXPECT_EQ(std::count(found.begin(), found.end(), control), 1);
}

TEST_F(AccessibleWindow, ListsTheScrollBarsOnlyWhileTheyAreShown) {
    const auto scrollBarsListed = [&] {
        std::vector<QObject*> found;
        Collect(Interface(&form), found);
        return static_cast<int>(std::count_if(found.begin(), found.end(), [](QObject* o) {
            return qobject_cast<QScrollBar*>(o) != nullptr;
        }));
    };
    EXPECT_EQ(scrollBarsListed(), 0);
    form.resize(200, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(scrollBarsListed(), 2);
    form.resize(343, 316);
    QCoreApplication::processEvents();
    EXPECT_EQ(scrollBarsListed(), 0);
}

struct ButtonCase {
    QToolButton* const TForm1::*button;
    const char* caption;
    const char* name;
    std::vector<const char*> said;  // what the description must tell
};

TEST_F(AccessibleWindow, ButtonsKeepTheirCaptionsAndAreNamedAndDescribedInWords) {
    const std::vector<ButtonCase> cases = {
        {&TForm1::bVor, ">", "Step", {"5\u00B0", "step"}},
        {&TForm1::bVorVor, ">>", "Run", {"1\u00B0", "100 ms"}},
        {&TForm1::bClear, "Cl", "Clear", {"Stops", "start picture"}},
    };
    for (const ButtonCase& c : cases) {
        QToolButton* button = form.*c.button;
        SCOPED_TRACE(c.caption);
        QAccessibleInterface* iface = Interface(button);
        EXPECT_EQ(button->text().toStdString(), c.caption);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), c.name);
        const QString description = iface->text(QAccessible::Description);
        for (const char* part : c.said)
            EXPECT_TRUE(description.contains(QString::fromUtf8(part))) << description.toStdString();
        EXPECT_EQ(button->toolTip(), description);
        // Still no keyboard focus for the speed buttons, not even through the interface.
        EXPECT_FALSE(iface->state().focusable);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        ASSERT_NE(iface->actionInterface(), nullptr);
        EXPECT_TRUE(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }
}

TEST_F(AccessibleWindow, PictureIsAnImageThatTellsWhereThePlanetIs) {
    QAccessibleInterface* picture = Interface(form.Image1);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_FALSE(picture->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(Picture(), "Orbit 0\u00B0, spin 0\u00B0, stopped");

    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form.bVor, Qt::LeftButton);
    EXPECT_EQ(Picture(), "Orbit 15\u00B0, spin 22.5\u00B0, stopped");

    QTest::mouseClick(form.bVorVor, Qt::LeftButton);
    EXPECT_EQ(Picture(), "Orbit 15\u00B0, spin 22.5\u00B0, running");
    form.Timer1Timer(form.Timer1);
    EXPECT_EQ(Picture(), "Orbit 16\u00B0, spin 24\u00B0, running");

    QTest::mouseClick(form.bClear, Qt::LeftButton);
    EXPECT_EQ(Picture(), "Orbit 0\u00B0, spin 0\u00B0, stopped");
}

// The same presses, once as mouse clicks and once through each button's press action,
// must leave two windows alike.
TEST(AccessiblePress, DoesWhatAClickDoes) {
    TForm1 clicked;
    TForm1 pressed;
    for (TForm1* form : {&clicked, &pressed}) {
        form->Timer1->SetInterval(3'600'000);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    const std::vector<QToolButton* const TForm1::*> presses = {
        &TForm1::bVor, &TForm1::bVor,   &TForm1::bVorVor, &TForm1::bVorVor,
        &TForm1::bVor, &TForm1::bClear, &TForm1::bVorVor, &TForm1::bClear};
    for (std::size_t i = 0; i < presses.size(); ++i) {
        SCOPED_TRACE(i);
        QTest::mouseClick(clicked.*presses[i], Qt::LeftButton);
        QAccessibleInterface* button = Interface(pressed.*presses[i]);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // Qt may animate the press and click a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return pressed.State().OrbitAngle == clicked.State().OrbitAngle &&
                   pressed.Timer1->Enabled() == clicked.Timer1->Enabled();
        }));
        EXPECT_EQ(pressed.State().SpinAngle, clicked.State().SpinAngle);
        EXPECT_EQ(pressed.Image1->Canvas().Pixels(), clicked.Image1->Canvas().Pixels());
        EXPECT_NE(QApplication::focusWidget(), pressed.*presses[i]);
    }
}

struct DescriptionCase {
    double orbit;
    double spin;
    bool running;
    const char* said;
};

TEST(PictureDescription, GivesTheAnglesAsHeldTheFullOrbitsAndWhetherItRuns) {
    const std::vector<DescriptionCase> cases = {
        {0.0, 0.0, false, "Orbit 0\u00B0, spin 0\u00B0, stopped"},
        {15.0, 22.5, false, "Orbit 15\u00B0, spin 22.5\u00B0, stopped"},
        {359.0, 538.5, true, "Orbit 359\u00B0, spin 538.5\u00B0, running"},
        {360.0, 540.0, true, "Orbit 360\u00B0 (1 full orbit), spin 540\u00B0, running"},
        {725.0, 1087.5, false, "Orbit 725\u00B0 (2 full orbits), spin 1087.5\u00B0, stopped"},
        // A day's run: plain digits, never an exponent.
        {1234567.0, 1851850.5, true,
         "Orbit 1234567\u00B0 (3429 full orbits), spin 1851850.5\u00B0, running"},
    };
    for (const DescriptionCase& c : cases) {
        dorvath::PlanetState state = dorvath::PlanetState::Create(300, 300);
        state.OrbitAngle = c.orbit;
        state.SpinAngle = c.spin;
        EXPECT_EQ(dorvath::DescribePicture(state, c.running), c.said);
    }
}

struct NoticeCase {
    int atMs;
    bool running;
    bool told;
};

TEST(PictureNotices, TellEveryStepAndResetAtOnceAndARunAboutOnceASecond) {
    const std::vector<NoticeCase> events = {
        {0, false, true},     // shown: the reset
        {400, false, true},   // a step right after it
        {450, false, true},   // and another
        {500, true, true},    // ">>": now running
        {600, true, false},   // the ticks of the first second
        {1400, true, false},  //
        {1500, true, true},   // a second after the start of the run
        {1600, true, false},  //
        {1700, true, false},  // ">>" again changes nothing
        {2500, true, true},   //
        {2550, false, true},  // ">" stops and steps: told at once
        {2600, true, true},   // ">>" right after it
        {2650, false, true},  // "Cl"
    };
    dorvath::PictureNotices notices;
    const dorvath::PictureNotices::Clock::time_point start{};
    for (const NoticeCase& e : events) {
        SCOPED_TRACE(e.atMs);
        EXPECT_EQ(notices.Due(start + std::chrono::milliseconds(e.atMs), e.running), e.told);
    }
}

TEST(PictureNotices, AMinuteOfTicksIsToldAboutSixtyTimes) {
    dorvath::PictureNotices notices;
    dorvath::PictureNotices::Clock::time_point now{};
    int told = notices.Due(now, true) ? 1 : 0;
    for (int tick = 0; tick < 600; ++tick) {
        // Ticks come about every 100 ms, a little early or late.
        now += std::chrono::milliseconds(tick % 3 == 0 ? 93 : 103);
        told += notices.Due(now, true) ? 1 : 0;
    }
    EXPECT_GE(told, 50);
    EXPECT_LE(told, 61);
}

}  // namespace

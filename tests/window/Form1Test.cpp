#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFontInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Model.h"
#include "WindowTest.h"
#include "scene/Scene.h"
#include "support/Form1Probe.h"
#include "support/Layout.h"
#include "support/Pictures.h"
#include "support/WindowPictures.h"
#include "window/Dorvath_u1.h"

namespace {

using dorvath::Bitmap;
namespace layout = dorvath::layout;

using dorvath::test::OnScreen;
using dorvath::test::Painted;
using dorvath::test::ToBitmap;

// Counts the events of one type a widget receives and records the painted regions.
class EventRecorder final : public QObject {
public:
    EventRecorder(QObject* target, QEvent::Type type) : type_(type) {
        target->installEventFilter(this);
    }
    int count = 0;
    std::vector<QRect> painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_)
            ++count;
        if (event->type() == QEvent::Paint) {
            painted.push_back(static_cast<QPaintEvent*>(event)->region().boundingRect());
        }
        return false;
    }

private:
    QEvent::Type type_;
};

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        // Ticks are given by calling the tick handler; the real timer must not add any.
        // The tests that need it set the real interval back.
        form.Timer1->SetInterval(3'600'000);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void Perform(Command command) {
        switch (command) {
            case Command::Step:
                QTest::mouseClick(form.bVor, Qt::LeftButton);
                break;
            case Command::Run:
                QTest::mouseClick(form.bVorVor, Qt::LeftButton);
                break;
            case Command::Tick:
                form.Timer1Timer(form.Timer1);
                break;
            case Command::Clear:
                QTest::mouseClick(form.bClear, Qt::LeftButton);
                break;
            case Command::SystemTick:
                FAIL() << "the system timer is not driven by hand";
        }
    }

    const dorvath::PlanetState& State() const { return TForm1Probe::State(form); }

    TForm1 form;
};

TEST(Form1Creation, SetsUpTheStateAndDrawsNothingUntilShown) {
    TForm1 form;
    const dorvath::PlanetState& state = TForm1Probe::State(form);
    EXPECT_EQ(state.CenterX, 150);
    EXPECT_EQ(state.CenterY, 150);
    EXPECT_EQ(state.OrbitAngle, 0.0);
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 100);
    EXPECT_EQ(form.Image1->Canvas().Pixels(), Bitmap(300, 300, dorvath::clWhite));
}

TEST(Form1Creation, HasItsComponentsInOrderWithTheirSettings) {
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quonsel"));
    EXPECT_EQ(form.pos(), QPoint(176, 105));
    EXPECT_EQ(form.size(), ClientSize());
    EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    EXPECT_EQ(form.font().families().value(0), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(QFontInfo(form.bVor->font()).pixelSize(), 11);

    struct Control {
        QWidget* widget;
        QRect geometry;
        const char* caption;
    };
    const std::vector<Control> controls = {
        {form.bVor, Geometry(layout::kStepButton), ">"},
        {form.bVorVor, Geometry(layout::kRunButton), ">>"},
        {form.Image1, Geometry(layout::kImage), nullptr},
        {form.bClear, Geometry(layout::kClearButton), "Cl"},
    };
    std::vector<QWidget*> created;
    for (QObject* child : form.ClientArea->children()) {
        if (child->isWidgetType())
            created.push_back(static_cast<QWidget*>(child));
    }
    ASSERT_EQ(created.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = controls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(created[i], c.widget);
        EXPECT_EQ(c.widget->geometry(), c.geometry);
        // Every control fits on the client area with a margin.
        EXPECT_LE(c.geometry.right() + 8, form.ClientArea->width() - 1);
        EXPECT_LE(c.geometry.bottom() + 8, form.ClientArea->height() - 1);
        if (auto* button = qobject_cast<QToolButton*>(c.widget)) {
            EXPECT_EQ(button->text(), QString::fromLatin1(c.caption));
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        }
    }
}

TEST_F(Form1Test, OpensOnTheStartPictureWithNothingRunning) {
    Model model;
    EXPECT_EQ(State().OrbitAngle, 0.0);
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_TRUE(dorvath::test::SamePicture(form.Image1->Canvas().Pixels(), model.canvas.Pixels(),
                                           "window-start-canvas"));
    EXPECT_TRUE(dorvath::test::SamePicture(OnScreen(*form.Image1), model.canvas.Pixels(),
                                           "window-start-screen"));
}

struct CommandCase {
    const char* name;
    std::vector<Command> commands;
    double orbit;
    double spin;
    bool running;
};

class Form1Commands : public Form1Test, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(Form1Commands, ChangeStateAndPictureLikeTheModel) {
    const CommandCase& c = GetParam();
    Model model;
    for (const Command command : c.commands) {
        Perform(command);
        ASSERT_TRUE(model.Apply(command));
    }
    EXPECT_EQ(State().OrbitAngle, c.orbit);
    EXPECT_EQ(State().PrevOrbitAngle, c.orbit);
    EXPECT_EQ(State().SpinAngle, c.spin);
    EXPECT_EQ(form.Timer1->Enabled(), c.running);
    EXPECT_EQ(model.running, c.running);
    const std::string name = std::string("window-") + c.name;
    EXPECT_TRUE(dorvath::test::SamePicture(Painted(*form.Image1), model.canvas.Pixels(),
                                           name + "-painted"));
    EXPECT_TRUE(dorvath::test::SamePicture(OnScreen(*form.Image1), model.canvas.Pixels(),
                                           name + "-screen"));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Form1Commands,
    ::testing::Values(
        CommandCase{"ThreeSteps", {Command::Step, Command::Step, Command::Step}, 15.0, 22.5, false},
        CommandCase{"RunDrawsNothingBeforeTheFirstTick", {Command::Run}, 0.0, 0.0, true},
        CommandCase{
            "TicksMoveOneDegree", {Command::Run, Command::Tick, Command::Tick}, 2.0, 3.0, true},
        CommandCase{"StepWhileRunningStopsAndSteps",
                    {Command::Run, Command::Tick, Command::Tick, Command::Step},
                    7.0,
                    10.5,
                    false},
        CommandCase{"ClearWhileRunningRestoresTheStart",
                    {Command::Run, Command::Tick, Command::Tick, Command::Tick, Command::Clear},
                    0.0,
                    0.0,
                    false},
        CommandCase{"RunAfterClearStartsFromZero",
                    {Command::Run, Command::Tick, Command::Tick, Command::Clear, Command::Run,
                     Command::Tick},
                    1.0,
                    1.5,
                    true},
        CommandCase{"SecondRunChangesNothing",
                    {Command::Run, Command::Tick, Command::Run},
                    1.0,
                    1.5,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

struct GestureCase {
    const char* name;
    QToolButton* const TForm1::*button;
    std::function<void(QWidget* button, QWidget* away)> gesture;
    double orbit;
    bool running;
    bool doubleClick;  // Qt must have seen a double click, or the case tests nothing
};

class Form1Mouse : public Form1Test, public ::testing::WithParamInterface<GestureCase> {};

TEST_P(Form1Mouse, ClicksOnlyWithTheLeftButtonPressedAndReleasedOverIt) {
    const GestureCase& c = GetParam();
    QWidget* button = form.*c.button;
    EventRecorder doubleClicks(button, QEvent::MouseButtonDblClick);
    c.gesture(button, form.Image1);
    EXPECT_EQ(State().OrbitAngle, c.orbit);
    EXPECT_EQ(form.Timer1->Enabled(), c.running);
    EXPECT_EQ(doubleClicks.count > 0, c.doubleClick);
    EXPECT_NE(QApplication::focusWidget(), button);
}

const QPoint kAway(150, 150);

INSTANTIATE_TEST_SUITE_P(
    Gestures, Form1Mouse,
    ::testing::Values(
        GestureCase{"LeftClick", &TForm1::bVor,
                    [](QWidget* b, QWidget*) { QTest::mouseClick(b, Qt::LeftButton); }, 5.0, false,
                    false},
        GestureCase{"DoubleClickStepsTwice", &TForm1::bVor,
                    [](QWidget* b, QWidget*) { QTest::mouseDClick(b, Qt::LeftButton); }, 10.0,
                    false, true},
        GestureCase{"RightClick", &TForm1::bVor,
                    [](QWidget* b, QWidget*) { QTest::mouseClick(b, Qt::RightButton); }, 0.0, false,
                    false},
        GestureCase{"MiddleClick", &TForm1::bVor,
                    [](QWidget* b, QWidget*) { QTest::mouseClick(b, Qt::MiddleButton); }, 0.0,
                    false, false},
        GestureCase{"RightClickDoesNotRun", &TForm1::bVorVor,
                    [](QWidget* b, QWidget*) { QTest::mouseClick(b, Qt::RightButton); }, 0.0, false,
                    false},
        GestureCase{"ReleasedOffTheButton", &TForm1::bVor,
                    [](QWidget* b, QWidget* away) {
                        QTest::mousePress(b, Qt::LeftButton);
                        QTest::mouseMove(away, kAway);
                        QTest::mouseRelease(away, Qt::LeftButton, {}, kAway);
                    },
                    0.0, false, false},
        GestureCase{"MovedOffAndBackBeforeRelease", &TForm1::bVor,
                    [](QWidget* b, QWidget* away) {
                        QTest::mousePress(b, Qt::LeftButton);
                        QTest::mouseMove(away, kAway);
                        QTest::mouseMove(b);
                        QTest::mouseRelease(b, Qt::LeftButton);
                    },
                    5.0, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Test, OnAHighDensityScreenEachPixelIsRepeatedNotBlended) {
    Perform(Command::Step);
    QImage target(600, 600, QImage::Format_RGB32);
    target.setDevicePixelRatio(2.0);
    form.Image1->render(&target);
    const Bitmap& canvas = form.Image1->Canvas().Pixels();
    Bitmap doubled(600, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 600; ++x)
            doubled.Row(y)[x] = canvas.Row(y / 2)[x / 2];
    }
    target.setDevicePixelRatio(1.0);
    EXPECT_TRUE(dorvath::test::SamePicture(ToBitmap(target), doubled, "window-double-density"));
}

TEST_F(Form1Test, StepRepaintsOnlyWhatTheFrameChanged) {
    Model model;
    model.canvas.TakeChangedRect();
    ASSERT_TRUE(model.Apply(Command::Step));
    const dorvath::TRect changed = model.canvas.TakeChangedRect();
    const QRect expected(changed.Left, changed.Top, changed.Width(), changed.Height());
    ASSERT_FALSE(expected.isEmpty());
    ASSERT_NE(expected, form.Image1->rect());

    QCoreApplication::processEvents();
    EventRecorder paints(form.Image1, QEvent::Paint);
    Perform(Command::Step);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paints.painted.empty(); }, 10000));
    for (const QRect& painted : paints.painted)
        EXPECT_TRUE(expected.contains(painted));
}

TEST_F(Form1Test, SmallWindowScrollsAndLaysNothingOutAgain) {
    Perform(Command::Step);
    Model model;
    ASSERT_TRUE(model.Apply(Command::Step));
    form.resize(200, 150);
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.horizontalScrollBar()->isVisible());
    ASSERT_TRUE(form.verticalScrollBar()->isVisible());
    // Scrolled to the right, as a user would to reach the buttons.
    form.horizontalScrollBar()->setValue(form.horizontalScrollBar()->maximum());
    form.repaint();
    QCoreApplication::processEvents();

    EXPECT_EQ(form.Image1->geometry(), Geometry(layout::kImage));
    EXPECT_EQ(form.bClear->geometry(), Geometry(layout::kClearButton));
    ASSERT_TRUE(form.bClear->visibleRegion().contains(form.bClear->rect()));
    // Repainting and scrolling run no handler.
    EXPECT_EQ(State().OrbitAngle, 5.0);
    EXPECT_TRUE(dorvath::test::SamePicture(Painted(*form.Image1), model.canvas.Pixels(),
                                           "window-scrolled"));

    // The reset clears the whole surface, also the part the small window hides.
    Perform(Command::Clear);
    EXPECT_EQ(State().OrbitAngle, 0.0);
    form.resize(ClientSize());
    EXPECT_TRUE(dorvath::test::SamePicture(
        OnScreen(*form.Image1),
        dorvath::test::FrameFromScratch(dorvath::PlanetState::Create(300, 300)),
        "window-reset-while-small"));
}

TEST_F(Form1Test, TickHandlesWaitingEventsBeforeItReturns) {
    EventRecorder waiting(&form, QEvent::User);
    QCoreApplication::postEvent(&form, new QEvent(QEvent::User));
    form.Timer1Timer(form.Timer1);
    EXPECT_EQ(waiting.count, 1);
}

struct WaitingClickCase {
    const char* name;
    QToolButton* const TForm1::*button;
    double orbit;  // where the click handled inside the tick leaves the planet
    bool running;
};

void PrintTo(const WaitingClickCase& c, std::ostream* os) {
    *os << c.name;
}

class Form1WaitingClick : public Form1Test,
                          public ::testing::WithParamInterface<WaitingClickCase> {};

// A click already waiting when a tick starts is handled inside it, after the tick's frame
// is committed: the nested handler starts from a settled state and leaves no residue.
TEST_P(Form1WaitingClick, IsHandledInsideTheTickFromItsCommittedFrame) {
    const WaitingClickCase& c = GetParam();
    Perform(Command::Run);
    QToolButton* button = form.*c.button;
    const QPoint at = button->rect().center();
    const QPointF global = button->mapToGlobal(QPointF(at));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier));
    form.Timer1Timer(form.Timer1);

    // Read before any further event handling: all of it happened inside the tick.
    EXPECT_EQ(State().OrbitAngle, c.orbit);
    EXPECT_EQ(State().PrevOrbitAngle, c.orbit);
    EXPECT_EQ(State().SpinAngle, 1.5 * c.orbit);
    EXPECT_EQ(form.Timer1->Enabled(), c.running);
    EXPECT_TRUE(dorvath::test::SamePicture(form.Image1->Canvas().Pixels(),
                                           dorvath::test::FrameFromScratch(State()),
                                           std::string("window-waiting-") + c.name));
}

INSTANTIATE_TEST_SUITE_P(Clicks, Form1WaitingClick,
                         ::testing::Values(WaitingClickCase{"Step", &TForm1::bVor, 6.0, false},
                                           WaitingClickCase{"Clear", &TForm1::bClear, 0.0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Read back from the running timer, not from the settings: what ">>" really started.
TEST(Form1Timer, RunStartsAPreciseTimerOfATenthOfASecond) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.bVorVor, Qt::LeftButton);
    ASSERT_TRUE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 100);
    EXPECT_EQ(form.Timer1->TimerType(), Qt::PreciseTimer);
    const int due = form.Timer1->RemainingTime();
    EXPECT_GE(due, 0);
    EXPECT_LE(due, 100);
    form.bClearClick(form.bClear);
}

TEST_F(Form1Test, SecondRunDoesNotRestartTheTimer) {
    Perform(Command::Run);
    const int first = form.Timer1->RemainingTime();
    QTest::qSleep(60);
    Perform(Command::Run);
    // A restarted timer would have its whole interval ahead of it again.
    EXPECT_LE(form.Timer1->RemainingTime(), first - 50);
}

TEST_F(Form1Test, RunningTimerTicksAtMostTenTimesASecond) {
    form.Timer1->SetInterval(100);
    QElapsedTimer clock;
    clock.start();
    Perform(Command::Run);
    Perform(Command::Run);
    ASSERT_TRUE(QTest::qWaitFor([&] { return State().OrbitAngle >= 5.0; }, 20000));
    // Five ticks are due no sooner than half a second after the start.
    EXPECT_GE(clock.elapsed(), 450);
    Perform(Command::Clear);
    const double stoppedAt = State().OrbitAngle;
    QTest::qWait(250);
    EXPECT_EQ(State().OrbitAngle, stoppedAt);
    EXPECT_EQ(stoppedAt, 0.0);
}

}  // namespace

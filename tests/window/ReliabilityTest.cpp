#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Model.h"
#include "WindowTest.h"
#include "support/Form1Probe.h"
#include "support/Pictures.h"
#include "support/Seed.h"
#include "support/WindowPictures.h"
#include "window/Dorvath_u1.h"

namespace {

using dorvath::Bitmap;
using dorvath::test::FrameFromScratch;
using dorvath::test::OnScreen;
using dorvath::test::Painted;
using dorvath::test::SamePicture;

// An interval no test lasts: the timer stays enabled but gives no tick by itself.
constexpr int kNoTicks = 3'600'000;
// Short enough that the system timer ticks at almost every chance it gets.
constexpr int kBusy = 2;

class Reliability : public ::testing::Test {
protected:
    void SetUp() override {
        form.Timer1->SetInterval(kNoTicks);
        // Connected after the window's own handlers, so each entry follows its handler's
        // work; the system timer's ticks are logged before theirs, so that a click handled
        // inside a tick comes after it.
        const auto log = [this](QToolButton* button, Command ran) {
            QObject::connect(button, &QToolButton::clicked, &form,
                             [this, ran] { ran_.push_back(ran); });
        };
        log(form.bVor, Command::Step);
        log(form.bVorVor, Command::Run);
        log(form.bClear, Command::Clear);
        form.Timer1->OnTimer = [this, tick = form.Timer1->OnTimer] {
            ran_.push_back(Command::SystemTick);
            tick();
        };
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        shown_ = TestApplication().Shown.size();
    }

    const dorvath::PlanetState& State() const { return TForm1Probe::State(form); }

    void Tick() {
        ran_.push_back(Command::Tick);
        form.Timer1Timer(form.Timer1);
    }

    // The handlers run since the given point.
    std::vector<Command> RanSince(std::size_t from) const {
        return {ran_.begin() + static_cast<std::ptrdiff_t>(from), ran_.end()};
    }

    // The state's own rules, and agreement with the model.
    ::testing::AssertionResult Agrees(const Model& model) const {
        const dorvath::PlanetState& s = State();
        if (s.OrbitAngle != model.state.OrbitAngle)
            return ::testing::AssertionFailure()
                   << "orbit " << s.OrbitAngle << ", expected " << model.state.OrbitAngle;
        if (std::trunc(s.OrbitAngle) != s.OrbitAngle)
            return ::testing::AssertionFailure() << "orbit " << s.OrbitAngle << " not whole";
        if (s.PrevOrbitAngle != s.OrbitAngle)
            return ::testing::AssertionFailure() << "previous orbit " << s.PrevOrbitAngle
                                                 << " after the frame at " << s.OrbitAngle;
        if (s.SpinAngle != 1.5 * s.OrbitAngle)
            return ::testing::AssertionFailure()
                   << "spin " << s.SpinAngle << " at orbit " << s.OrbitAngle;
        if (form.Timer1->Enabled() != model.running)
            return ::testing::AssertionFailure()
                   << "timer " << (form.Timer1->Enabled() ? "enabled" : "disabled") << ", expected "
                   << (model.running ? "enabled" : "disabled");
        if (TestApplication().Shown.size() != shown_)
            return ::testing::AssertionFailure()
                   << "error shown: " << TestApplication().Shown.back().toStdString();
        return ::testing::AssertionSuccess();
    }

    // The surface, the control's painting and the window all show the frame a fresh
    // surface would for the current state: no residue of earlier frames, nothing stale.
    void ExpectPictureOfTheState(const std::string& name) {
        const Bitmap expected = FrameFromScratch(State());
        EXPECT_TRUE(SamePicture(form.Image1->Canvas().Pixels(), expected, name + "-canvas"));
        EXPECT_TRUE(SamePicture(Painted(*form.Image1), expected, name + "-painted"));
        EXPECT_TRUE(SamePicture(OnScreen(*form.Image1), expected, name + "-screen"));
    }

    std::vector<Command> ran_;
    std::size_t shown_ = 0;
    TForm1 form;
};

// ---- Click storm

enum class Gesture { Click, DoubleClick, DragOff, DragOffAndBack, RightClick, MiddleClick };

struct GestureKind {
    Gesture gesture;
    const char* name;
    int clicks;  // what the button under it reports
    int weight;
};

const std::vector<GestureKind> kGestures = {
    {Gesture::Click, "click", 1, 35},
    {Gesture::DoubleClick, "double click", 2, 15},
    {Gesture::DragOff, "press, drag off, release", 0, 15},
    {Gesture::DragOffAndBack, "press, drag off and back, release", 1, 10},
    {Gesture::RightClick, "right click", 0, 15},
    {Gesture::MiddleClick, "middle click", 0, 10},
};

// One gesture, fully chosen: the same seed gives the same gestures.
struct Plan {
    const GestureKind* kind;
    QToolButton* button;
    QPoint at;      // on the button
    QWidget* away;  // where a drag goes
    QPoint awayAt;
};

class ClickStorm : public Reliability {
protected:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    QPoint Inside(const QWidget* widget) {
        // Never (0, 0): QTest reads a null point as "the centre".
        return {1 + Pick(widget->width() - 1), 1 + Pick(widget->height() - 1)};
    }

    QToolButton* AnyButton() {
        const int pick = Pick(100);
        return pick < 40 ? form.bVor : pick < 80 ? form.bVorVor : form.bClear;
    }

    Plan NewPlan() {
        int pick = Pick(100);
        const GestureKind* kind = &kGestures.front();
        for (const GestureKind& k : kGestures) {
            if (pick < k.weight) {
                kind = &k;
                break;
            }
            pick -= k.weight;
        }
        QToolButton* button = AnyButton();
        QWidget* away = form.Image1;
        if (Pick(2) == 0) {
            while ((away = AnyButton()) == button) {
            }
        }
        return {kind, button, Inside(button), away, Inside(away)};
    }

    static std::string Describe(const Plan& p) {
        std::string what = std::string(p.kind->name) + " on " + p.button->text().toStdString();
        if (p.kind->gesture == Gesture::DragOff || p.kind->gesture == Gesture::DragOffAndBack) {
            const auto* button = qobject_cast<const QToolButton*>(p.away);
            what += " via " + (button ? button->text().toStdString() : std::string("the image"));
        }
        return what;
    }

    static void Perform(const Plan& p) {
        switch (p.kind->gesture) {
            case Gesture::Click:
                QTest::mouseClick(p.button, Qt::LeftButton, {}, p.at);
                break;
            case Gesture::DoubleClick:
                QTest::mouseDClick(p.button, Qt::LeftButton, {}, p.at);
                break;
            case Gesture::DragOff:
                QTest::mousePress(p.button, Qt::LeftButton, {}, p.at);
                QTest::mouseMove(p.away, p.awayAt);
                QTest::mouseRelease(p.away, Qt::LeftButton, {}, p.awayAt);
                break;
            case Gesture::DragOffAndBack:
                QTest::mousePress(p.button, Qt::LeftButton, {}, p.at);
                QTest::mouseMove(p.away, p.awayAt);
                QTest::mouseMove(p.button, p.at);
                QTest::mouseRelease(p.button, Qt::LeftButton, {}, p.at);
                break;
            case Gesture::RightClick:
                QTest::mouseClick(p.button, Qt::RightButton, {}, p.at);
                break;
            case Gesture::MiddleClick:
                QTest::mouseClick(p.button, Qt::MiddleButton, {}, p.at);
                break;
        }
    }

    Command ClickOf(const QToolButton* button) const {
        return button == form.bVor      ? Command::Step
               : button == form.bVorVor ? Command::Run
                                        : Command::Clear;
    }

    // The clicks among the runs are exactly the expected ones on the expected button, in
    // order with any ticks; every run is applied to the model.
    ::testing::AssertionResult Account(const std::vector<Command>& runs, const QToolButton* button,
                                       int clicks, int ticks) {
        int clicked = 0;
        int ticked = 0;
        for (const Command ran : runs) {
            if (ran == Command::SystemTick)
                ++systemTicks_;
            if (ran == Command::Tick) {
                ++ticked;
            } else if (ran != Command::SystemTick) {
                if (button == nullptr || ran != ClickOf(button))
                    return ::testing::AssertionFailure() << "a click handled on another button";
                ++clicked;
            }
            if (auto applied = model_.Apply(ran); !applied)
                return applied;
        }
        if (clicked != clicks)
            return ::testing::AssertionFailure()
                   << clicked << " clicks handled, expected " << clicks;
        if (ticked != ticks)
            return ::testing::AssertionFailure() << ticked << " ticks, expected " << ticks;
        return ::testing::AssertionSuccess();
    }

    void SetBusy(bool busy) {
        busy_ = busy;
        form.Timer1->SetInterval(busy ? kBusy : kNoTicks);
    }

    std::mt19937 random_;
    Model model_;
    bool busy_ = false;
    bool inTick_ = false;
    int nestedRuns_ = 0;
    int systemTicks_ = 0;
};

TEST_F(ClickStorm, KeepsTheStateAndThePictureExact) {
    const unsigned seed = dorvath::test::TestSeed();
    SCOPED_TRACE("DORVATH_SEED=" + std::to_string(seed));
    random_.seed(seed);
    constexpr int kActions = 4000;
    constexpr int kCheckpointEvery = 200;
    int nestedGestures = 0;

    for (int i = 0; i < kActions; ++i) {
        std::ostringstream what;
        const std::size_t from = ran_.size();
        const QToolButton* target = nullptr;
        int clicks = 0;
        int ticks = 0;
        const int pick = Pick(100);
        if (pick < 62) {
            const Plan plan = NewPlan();
            what << Describe(plan);
            target = plan.button;
            clicks = plan.kind->clicks;
            Perform(plan);
        } else if (pick < 75) {
            what << "tick";
            ticks = 1;
            Tick();
        } else if (pick < 77) {
            // A long stretch of ticks, so that the planet gets round its orbit between resets.
            ticks = 20 + Pick(300);
            what << ticks << " ticks";
            for (int t = 0; t < ticks; ++t)
                Tick();
        } else if (pick < 85) {
            // The gesture waits in the queue and is handled inside the tick.
            const Plan plan = NewPlan();
            what << Describe(plan) << " inside a tick";
            target = plan.button;
            clicks = plan.kind->clicks;
            ticks = 1;
            const int before = nestedRuns_;
            QTimer::singleShot(0, &form, [this, plan] {
                nestedRuns_ += inTick_ ? 1 : 0;
                Perform(plan);
            });
            inTick_ = true;
            Tick();
            inTick_ = false;
            ASSERT_EQ(nestedRuns_, before + 1) << "the gesture did not run inside the tick";
            ++nestedGestures;
        } else if (pick < 91) {
            // Mouse events already posted to the button when the tick starts.
            QToolButton* button = AnyButton();
            const QPoint at = Inside(button);
            const Qt::MouseButton mouse = Pick(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            what << "posted " << (mouse == Qt::LeftButton ? "left" : "right") << " click on "
                 << button->text().toStdString() << " inside a tick";
            target = button;
            clicks = mouse == Qt::LeftButton ? 1 : 0;
            ticks = 1;
            const QPointF global = button->mapToGlobal(QPointF(at));
            QCoreApplication::postEvent(
                button, new QMouseEvent(QEvent::MouseButtonPress, QPointF(at), global, mouse, mouse,
                                        Qt::NoModifier));
            QCoreApplication::postEvent(
                button, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(at), global, mouse,
                                        Qt::NoButton, Qt::NoModifier));
            Tick();
        } else if (pick < 95) {
            what << "waiting for the system timer";
            if (model_.running) {
                // Its own interval only while waiting, unless the storm is busy anyway.
                form.Timer1->SetInterval(kBusy);
                ASSERT_TRUE(QTest::qWaitFor(
                    [&] {
                        const std::vector<Command> runs = RanSince(from);
                        return std::find(runs.begin(), runs.end(), Command::SystemTick) !=
                               runs.end();
                    },
                    20000))
                    << "no tick came while running, action " << i;
                SetBusy(busy_);
            }
        } else {
            SetBusy(!busy_);
            what << (busy_ ? "system timer busy" : "system timer quiet");
        }
        ASSERT_TRUE(Account(RanSince(from), target, clicks, ticks))
            << "action " << i << ": " << what.str();
        ASSERT_TRUE(Agrees(model_)) << "action " << i << ": " << what.str();

        // A random short pause, the event loop mostly just turning over; only the system
        // timer may run a handler meanwhile.
        const std::size_t paused = ran_.size();
        const int pause = Pick(100);
        if (pause >= 60 && pause < 96) {
            QCoreApplication::processEvents();
        } else if (pause >= 96) {
            QTest::qWait(1 + Pick(3));
        }

        const bool checkpoint = i % kCheckpointEvery == kCheckpointEvery - 1 || i == kActions - 1;
        if (checkpoint) {
            // Still while looking: no tick may slip in between the state and the picture.
            form.Timer1->SetInterval(kNoTicks);
            QCoreApplication::processEvents();
        }
        ASSERT_TRUE(Account(RanSince(paused), nullptr, 0, 0)) << "pause after action " << i;
        ASSERT_TRUE(Agrees(model_)) << "pause after action " << i;
        if (checkpoint) {
            ExpectPictureOfTheState("storm-" + std::to_string(i));
            if (HasFailure())
                return;
            SetBusy(busy_);
        }
    }
    // The storm must really have had the system timer and nested clicks in it.
    EXPECT_GT(systemTicks_, 0);
    EXPECT_GT(nestedGestures, 0);
}

// ---- Window abuse

// Lets the window system's answers to what was just done arrive.
void Settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void ScrollToTheEndsAndBack(TForm1& form) {
    // Only a window smaller than its client area has anything to scroll.
    form.resize(120, 100);
    Settle();
    for (QScrollBar* bar : {form.horizontalScrollBar(), form.verticalScrollBar()}) {
        ASSERT_GT(bar->maximum(), 0);
        bar->setValue(bar->maximum());
        Settle();
    }
    for (QScrollBar* bar : {form.horizontalScrollBar(), form.verticalScrollBar()}) {
        bar->setValue(bar->minimum());
        Settle();
    }
    form.resize(ClientSize());
}

struct AbuseCase {
    const char* name;
    std::function<void(TForm1&)> abuse;  // leaves the window at its original size
};

const std::vector<AbuseCase> kAbuses = {
    {"ResizeTo1x1",
     [](TForm1& form) {
         form.resize(1, 1);
         Settle();
         ASSERT_EQ(form.size(), QSize(1, 1));
         form.resize(ClientSize());
     }},
    {"ResizeTo4000x3000",
     [](TForm1& form) {
         form.resize(4000, 3000);
         Settle();
         ASSERT_EQ(form.size(), QSize(4000, 3000));
         form.resize(ClientSize());
     }},
    {"ScrollToTheEndsAndBack", ScrollToTheEndsAndBack},
    {"MinimiseAndRestore",
     [](TForm1& form) {
         form.showMinimized();
         Settle();
         ASSERT_TRUE(form.isMinimized());
         form.showNormal();
     }},
    {"MinimiseAndRestoreByWindowState",
     [](TForm1& form) {
         form.setWindowState(form.windowState() | Qt::WindowMinimized);
         Settle();
         ASSERT_TRUE(form.isMinimized());
         form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
     }},
    {"MaximiseAndRestore",
     [](TForm1& form) {
         form.showMaximized();
         Settle();
         ASSERT_TRUE(form.isMaximized());
         form.showNormal();
     }},
};

void PrintTo(const AbuseCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowAbuse : public Reliability,
                    public ::testing::WithParamInterface<std::tuple<AbuseCase, bool>> {};

TEST_P(WindowAbuse, RunsNoHandlerAndShowsTheSurfaceAfterwards) {
    const auto& [c, running] = GetParam();
    const QSize size = form.size();
    // Away from the start picture, so that a reset would show.
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form.bVor, Qt::LeftButton);
    if (running) {
        QTest::mouseClick(form.bVorVor, Qt::LeftButton);
        Tick();
    }
    ASSERT_EQ(State().OrbitAngle, running ? 16.0 : 15.0);
    ASSERT_EQ(form.Timer1->Enabled(), running);

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const dorvath::PlanetState before = State();
        const Bitmap canvas = form.Image1->Canvas().Pixels();
        const std::size_t from = ran_.size();

        c.abuse(form);
        Settle();
        ASSERT_FALSE(HasFatalFailure());

        EXPECT_TRUE(RanSince(from).empty()) << "a click or tick was handled";
        EXPECT_EQ(State().OrbitAngle, before.OrbitAngle);
        EXPECT_EQ(State().PrevOrbitAngle, before.PrevOrbitAngle);
        EXPECT_EQ(State().SpinAngle, before.SpinAngle);
        EXPECT_EQ(form.Timer1->Enabled(), running);
        EXPECT_EQ(form.Image1->Canvas().Pixels(), canvas) << "a frame was drawn";
        EXPECT_EQ(TestApplication().Shown.size(), shown_);

        // Nothing laid out again, and the whole current picture back in view.
        EXPECT_EQ(form.size(), size);
        EXPECT_FALSE(form.isMinimized());
        EXPECT_EQ(form.Image1->geometry(), Geometry(dorvath::layout::kImage));
        ExpectPictureOfTheState(std::string("abuse-") + c.name +
                                (running ? "-running-" : "-stopped-") + std::to_string(round));
        if (HasFailure())
            return;

        // The picture moves on between the rounds, as it would in use.
        if (running) {
            Tick();
        } else {
            QTest::mouseClick(form.bVor, Qt::LeftButton);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KindsStoppedAndRunning, WindowAbuse,
                         ::testing::Combine(::testing::ValuesIn(kAbuses), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_Running" : "_Stopped");
                         });

}  // namespace

// The real application object, as the program has it: an error that escapes a handler
// brings up a message box with the error's text, and once it is closed the program goes on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "WindowTest.h"
#include "support/Form1Probe.h"
#include "support/Pictures.h"
#include "window/Dorvath_u1.h"

std::unique_ptr<TApplication> NewTestApplication(int& argc, char** argv) {
    return std::make_unique<TApplication>(argc, argv);
}

namespace {

// Armed at the moment of the error, it looks for the message box from inside the box's
// own event loop, keeps what it says and closes it. When there is no box it finds none.
class BoxCloser final : public QObject {
public:
    void Arm() {
        QTimer::singleShot(0, this, [this] { Look(0); });
    }

    std::vector<QString> texts;
    std::vector<QMessageBox::Icon> icons;

private:
    void Look(int attempt) {
        QMessageBox* box = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<QMessageBox*>(widget); shown && shown->isVisible())
                box = shown;
        }
        if (box == nullptr) {
            if (attempt < 100)
                QTimer::singleShot(10, this, [this, attempt] { Look(attempt + 1); });
            return;
        }
        texts.push_back(box->text());
        icons.push_back(box->icon());
        box->done(QMessageBox::Ok);
    }
};

// An object whose event handling fails the way a handler might.
class Failing final : public QObject {
public:
    explicit Failing(std::function<void()> fail) : fail_(std::move(fail)) {}
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            fail_();
        return QObject::event(event);
    }

private:
    std::function<void()> fail_;
};

struct ErrorCase {
    const char* name;
    // Brings the error about inside a handler; arm is called just before it is raised.
    std::function<void(TForm1& form, const std::function<void()>& arm)> cause;
    const char* text;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageBox : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(MessageBox, ShowsTheErrorAndTheWindowGoesOnStepping) {
    const ErrorCase& c = GetParam();
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    BoxCloser closer;
    c.cause(form, [&] { closer.Arm(); });

    EXPECT_EQ(closer.texts, std::vector<QString>{QString::fromUtf8(c.text)});
    EXPECT_EQ(closer.icons, std::vector<QMessageBox::Icon>{QMessageBox::Critical});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    const double before = TForm1Probe::State(form).OrbitAngle;
    QTest::mouseClick(form.bVor, Qt::LeftButton);
    EXPECT_EQ(TForm1Probe::State(form).OrbitAngle, before + 5.0);
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_TRUE(dorvath::test::SamePicture(
        form.Image1->Canvas().Pixels(), dorvath::test::FrameFromScratch(TForm1Probe::State(form)),
        std::string("message-box-") + c.name + "-step"));
    EXPECT_EQ(closer.texts.size(), 1u) << "a second error was shown";
}

// A tick of the running animation whose handler fails once; the ticks after it go on.
void FailingTick(TForm1& form, const std::function<void()>& arm) {
    // Counted beyond this function's end: the ticks go on after it returns.
    const auto calls = std::make_shared<int>(0);
    form.Timer1->OnTimer = [calls, arm, tick = form.Timer1->OnTimer] {
        if ((*calls)++ == 0) {
            arm();
            throw std::runtime_error("Not enough timers available");
        }
        tick();
    };
    QTest::mouseClick(form.bVorVor, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return *calls >= 3; }, 20000)) << "the ticks stopped";
    EXPECT_GT(TForm1Probe::State(form).OrbitAngle, 0.0);
}

// An event handler that fails, reached through the application's event delivery.
void FailingEvent(const std::function<void()>& fail) {
    Failing failing(fail);
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(
    Errors, MessageBox,
    ::testing::Values(ErrorCase{"InATick", FailingTick, "Not enough timers available"},
                      ErrorCase{"InAnEvent",
                                [](TForm1&, const std::function<void()>& arm) {
                                    FailingEvent([&] {
                                        arm();
                                        throw std::runtime_error("out of luck");
                                    });
                                },
                                "out of luck"},
                      ErrorCase{"NotAStandardError",
                                [](TForm1&, const std::function<void()>& arm) {
                                    FailingEvent([&] {
                                        arm();
                                        throw 42;
                                    });
                                },
                                "Unknown error"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

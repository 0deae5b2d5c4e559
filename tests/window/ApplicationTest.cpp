#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <stdexcept>

#include "WindowTest.h"

namespace {

// An object whose event handling fails the way a handler might.
class Failing final : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Not enough timers available");
        if (event->type() == QEvent::User + 1)
            throw 42;
        return QObject::event(event);
    }
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication().Shown.clear(); }
    std::vector<QString>& Shown() { return TestApplication().Shown; }
};

TEST_F(ApplicationTest, ErrorEscapingAnEventHandlerIsShownOnceAndTheProgramGoesOn) {
    Failing failing;
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&failing, &first);
    QCoreApplication::postEvent(&failing, new QEvent(static_cast<QEvent::Type>(QEvent::User + 1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), (std::vector<QString>{QStringLiteral("Not enough timers available"),
                                             QStringLiteral("Unknown error")}));
}

TEST_F(ApplicationTest, ErrorInAHandlerReachedThroughASignalIsShown) {
    bool after = false;
    TApplication::Guard([] { throw std::runtime_error("out of luck"); });
    TApplication::Guard([&] { after = true; });
    EXPECT_EQ(Shown(), std::vector<QString>{QStringLiteral("out of luck")});
    EXPECT_TRUE(after);
}

}  // namespace

#include "window/TTimer.h"

#include <stdexcept>

#include "window/TApplication.h"

TTimer::TTimer(QObject* owner) : QObject(owner) {
    // Precise timers schedule each tick from the previous one's due time, so the
    // animation keeps its rate instead of drifting by the handler's run time.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer)
            TApplication::Guard(OnTimer);
    });
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    if (!value) {
        timer_.stop();
        enabled_ = false;
        return;
    }
    timer_.start();
    // Only a timer the system really runs counts as enabled; otherwise a further
    // attempt would be refused as "already enabled" while nothing ticks. (A refused
    // start leaves QTimer with id 0, which isActive() still reports as active.)
    if (timer_.timerId() <= 0) {
        timer_.stop();
        throw std::runtime_error("Not enough timers available");
    }
    enabled_ = true;
}

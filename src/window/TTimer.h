#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// A timer switched by an Enabled property, as the handlers expect: switching it to the
// state it is already in does nothing, so a running timer is never restarted.
class TTimer final : public QObject {
public:
    explicit TTimer(QObject* owner);

    bool Enabled() const { return enabled_; }
    // Throws when the system gives no timer; the timer then stays disabled.
    void SetEnabled(bool value);
    int Interval() const { return timer_.interval(); }
    void SetInterval(int milliseconds) { timer_.setInterval(milliseconds); }
    Qt::TimerType TimerType() const { return timer_.timerType(); }
    // Milliseconds to the next tick; -1 while disabled.
    int RemainingTime() const { return timer_.remainingTime(); }

    std::function<void()> OnTimer;

private:
    QTimer timer_;
    bool enabled_ = false;
};

#pragma once

#include "ports/MainQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <vector>

class QTimer;

namespace fenwold {

// The main queue on the Qt event loop of the thread that created it.
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    void post(std::function<void()> work) override;
    TimerHandle after(double seconds, std::function<void()> work) override;
    TimerHandle every(double seconds, double tolerance, std::function<void()> work) override;
    double uptime() const override;

private:
    // A repeating timer with a tolerance: it runs when due, or earlier by up to its tolerance
    // when the loop is awake anyway, so that timers share wake-ups as tolerant timers do.
    struct Tolerant {
        std::shared_ptr<TimerHandle::State> state;
        std::function<void()> work;
        qint64 interval = 0;  // milliseconds
        qint64 tolerance = 0; // milliseconds, at most half the interval
        qint64 due = 0;       // on clock_
        QTimer* timer = nullptr;
    };
    void run(const std::shared_ptr<Tolerant>& tolerant);
    // Before the loop sleeps: runs the tolerant timers within their tolerance of being due.
    void runThoseNearlyDue();

    // Lives on the main thread; work posted to it runs there.
    class Context final : public QObject {
    protected:
        bool event(QEvent* event) override;
    };
    Context context_;
    QElapsedTimer clock_;
    std::vector<std::shared_ptr<Tolerant>> tolerant_;
    bool watchingSleep_ = false;
};

} // namespace fenwold

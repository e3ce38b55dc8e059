#include "QtMainQueue.h"

#include <QTimer>
#include <cmath>

namespace fenwold {

namespace {
int toMilliseconds(double seconds) {
    return static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0));
}
} // namespace

QtMainQueue::QtMainQueue() {
    clock_.start();
}
QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::post(std::function<void()> work) {
    QMetaObject::invokeMethod(&context_, std::move(work), Qt::QueuedConnection);
}

TimerHandle QtMainQueue::after(double seconds, std::function<void()> work) {
    auto state = std::make_shared<TimerHandle::State>();
    QTimer::singleShot(toMilliseconds(seconds), Qt::PreciseTimer, &context_, [state, work = std::move(work)] {
        if (state->cancelled) return;
        state->done = true;
        work();
    });
    return TimerHandle(state);
}

TimerHandle QtMainQueue::every(double seconds, double tolerance, std::function<void()> work) {
    auto state = std::make_shared<TimerHandle::State>();
    auto* timer = new QTimer(&context_);
    timer->setInterval(toMilliseconds(seconds));
    // A generous tolerance lets the system coalesce wake-ups, as a tolerant timer would.
    timer->setTimerType(tolerance >= seconds * 0.1 ? Qt::CoarseTimer : Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, state, work = std::move(work)] {
        if (state->cancelled) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        work();
    });
    timer->start();
    return TimerHandle(state);
}

double QtMainQueue::uptime() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

} // namespace fenwold

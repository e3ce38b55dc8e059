#include "QtMainQueue.h"

#include "Handoff.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cmath>

namespace fenwold {

namespace {

int toMilliseconds(double seconds) {
    return static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0));
}

// Posted work, complete before Qt's queue takes it (any thread may post).
class WorkEvent final : public QEvent {
public:
    static QEvent::Type type() {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }
    explicit WorkEvent(std::function<void()> work) : QEvent(type()), work(std::move(work)) {}
    std::function<void()> work;
};

} // namespace

bool QtMainQueue::Context::event(QEvent* event) {
    handoff::acquire(event); // before anything of it is read
    if (event->type() != WorkEvent::type()) return QObject::event(event);
    static_cast<WorkEvent*>(event)->work();
    return true;
}

QtMainQueue::QtMainQueue() {
    clock_.start();
}
QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::post(std::function<void()> work) {
    auto* event = new WorkEvent(std::move(work));
    handoff::release(event);
    QCoreApplication::postEvent(&context_, event);
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

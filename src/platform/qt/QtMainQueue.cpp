#include "QtMainQueue.h"

#include "Handoff.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
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
    auto* dispatcher = QAbstractEventDispatcher::instance(context_.thread());
    if (tolerance >= seconds * 0.1 && dispatcher) {
        auto tolerant = std::make_shared<Tolerant>();
        tolerant->state = state;
        tolerant->work = std::move(work);
        tolerant->interval = toMilliseconds(seconds);
        tolerant->tolerance = std::min<qint64>(toMilliseconds(tolerance), tolerant->interval / 2);
        tolerant->due = clock_.elapsed() + tolerant->interval;
        tolerant->timer = new QTimer(&context_);
        tolerant->timer->setSingleShot(true);
        tolerant->timer->setTimerType(Qt::PreciseTimer);
        std::weak_ptr<Tolerant> weak = tolerant;
        QObject::connect(tolerant->timer, &QTimer::timeout, &context_, [this, weak] {
            if (auto t = weak.lock()) run(t);
        });
        tolerant->timer->start(static_cast<int>(tolerant->interval));
        tolerant_.push_back(std::move(tolerant));
        if (!watchingSleep_) {
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_,
                             [this] { runThoseNearlyDue(); });
            watchingSleep_ = true;
        }
        return TimerHandle(state);
    }
    auto* timer = new QTimer(&context_);
    timer->setInterval(toMilliseconds(seconds));
    timer->setTimerType(Qt::PreciseTimer);
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

void QtMainQueue::run(const std::shared_ptr<Tolerant>& tolerant) {
    if (tolerant->state->cancelled) {
        tolerant->timer->deleteLater();
        std::erase(tolerant_, tolerant);
        return;
    }
    // The next time is counted from when this one was due, so running early does not make the
    // timer run more often; after a long stall it starts again from now.
    const qint64 now = clock_.elapsed();
    tolerant->due += tolerant->interval;
    if (tolerant->due <= now) tolerant->due = now + tolerant->interval;
    tolerant->timer->start(static_cast<int>(tolerant->due - now));
    tolerant->work();
}

void QtMainQueue::runThoseNearlyDue() {
    const qint64 now = clock_.elapsed();
    std::vector<std::shared_ptr<Tolerant>> nearlyDue;
    for (const auto& tolerant : tolerant_)
        if (tolerant->state->cancelled || now >= tolerant->due - tolerant->tolerance)
            nearlyDue.push_back(tolerant);
    // Each may start or cancel timers while it runs.
    for (const auto& tolerant : nearlyDue)
        run(tolerant);
}

double QtMainQueue::uptime() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

} // namespace fenwold

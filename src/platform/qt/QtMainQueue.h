#pragma once

#include "ports/MainQueue.h"

#include <QElapsedTimer>
#include <QObject>

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
    // Lives on the main thread; work posted to it runs there.
    class Context final : public QObject {
    protected:
        bool event(QEvent* event) override;
    };
    Context context_;
    QElapsedTimer clock_;
};

} // namespace fenwold

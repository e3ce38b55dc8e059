#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace fenwold {

// Signals sent to the process, handled on the Qt event loop: SIGINT and SIGTERM quit the Qt
// application in order, so the shut-down work (clearing a key mapping) still runs; SIGUSR1 runs
// `onRequest` where one is given (the playground writes its state file). The handler only writes
// the signal's number to a pipe.
class ProcessSignals final : public QObject {
public:
    explicit ProcessSignals(std::function<void()> onRequest = {});
    ~ProcessSignals() override;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onRequest_;
};

} // namespace fenwold

#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace fenwold {

// Turns SIGINT and SIGTERM into an orderly quit of the Qt application, so the shut-down work
// (clearing a key mapping) still runs. The handler only writes a byte to a pipe.
class QuitSignals final : public QObject {
public:
    QuitSignals();
    ~QuitSignals() override;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace fenwold

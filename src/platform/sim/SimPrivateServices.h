#pragma once

#include "ports/PrivateServices.h"

#include <QStringList>
#include <functional>
#include <mutex>

namespace fenwold {

// Private entry points, each present or absent; every call is recorded.
class SimPrivateServices final : public PrivateServices {
public:
    bool hasFrontProcess() const override;
    std::optional<int32_t> setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                      uint32_t options) override;
    std::optional<int32_t> postEventRecord(ProcessSerial psn, const QByteArray& record) override;
    std::optional<ProcessSerial> processSerial(int32_t pid) override;
    std::optional<int32_t> dockNotification(const QString& name) override;
    std::optional<int32_t> lockScreen() override;

    void setFrontProcessAvailable(bool available);
    void setDockAvailable(bool available);
    void setLockAvailable(bool available);
    // Called when a process is made front through the private path (the session reacts).
    std::function<void(int32_t pid, uint32_t window)> onFront;
    // Called with each notification the Dock is sent (the session reacts), outside the lock.
    std::function<void(const QString& name)> onDockNotification;
    // Calls in order, as readable strings ("front pid=501 window=7 options=0x200", ...).
    QStringList calls() const;

private:
    mutable std::mutex mutex_;
    bool front_ = true;
    bool dock_ = true;
    bool lock_ = true;
    QStringList calls_;
};

} // namespace fenwold

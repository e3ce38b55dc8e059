#include "SimPrivateServices.h"

namespace fenwold {

bool SimPrivateServices::hasFrontProcess() const {
    std::lock_guard lock(mutex_);
    return front_;
}

std::optional<int32_t> SimPrivateServices::setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                                      uint32_t options) {
    {
        std::lock_guard lock(mutex_);
        if (!front_) return std::nullopt;
        calls_ << QStringLiteral("front pid=%1 window=%2 options=0x%3")
                      .arg(psn.low)
                      .arg(window)
                      .arg(options, 0, 16);
    }
    if (onFront) onFront(static_cast<int32_t>(psn.low), window);
    return 0;
}

std::optional<int32_t> SimPrivateServices::postEventRecord(ProcessSerial psn, const QByteArray& record) {
    std::lock_guard lock(mutex_);
    if (!front_) return std::nullopt;
    calls_ << QStringLiteral("event pid=%1 bytes=%2 type=0x%3")
                  .arg(psn.low)
                  .arg(record.size())
                  .arg(record.size() > 0x08 ? static_cast<unsigned char>(record[0x08]) : 0, 0, 16);
    return 0;
}

std::optional<ProcessSerial> SimPrivateServices::processSerial(int32_t pid) {
    std::lock_guard lock(mutex_);
    if (!front_ || pid < 1) return std::nullopt;
    // The simulated serial number carries the pid in its low word so calls read back clearly.
    return ProcessSerial{0, static_cast<uint32_t>(pid)};
}

std::optional<int32_t> SimPrivateServices::dockNotification(const QString& name) {
    {
        std::lock_guard lock(mutex_);
        if (!dock_) return std::nullopt;
        calls_ << QStringLiteral("dock %1").arg(name);
    }
    if (onDockNotification) onDockNotification(name);
    return 0;
}

std::optional<int32_t> SimPrivateServices::lockScreen() {
    std::lock_guard lock(mutex_);
    if (!lock_) return std::nullopt;
    calls_ << QStringLiteral("lock");
    return 0;
}

void SimPrivateServices::setFrontProcessAvailable(bool available) {
    std::lock_guard lock(mutex_);
    front_ = available;
}

void SimPrivateServices::setDockAvailable(bool available) {
    std::lock_guard lock(mutex_);
    dock_ = available;
}

void SimPrivateServices::setLockAvailable(bool available) {
    std::lock_guard lock(mutex_);
    lock_ = available;
}

QStringList SimPrivateServices::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

} // namespace fenwold

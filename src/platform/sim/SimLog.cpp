#include "SimLog.h"

namespace fenwold {

void SimLog::line(const QString& text) {
    std::lock_guard lock(mutex_);
    lines_ << text;
}

QStringList SimLog::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void SimLog::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

} // namespace fenwold

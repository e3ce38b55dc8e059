#include "SimSecureInput.h"

#include "SimWorkspace.h"

#include <algorithm>

namespace fenwold {

int32_t SimSecureInput::holderLocked() const {
    if (stuck_ != 0 && workspace_.app(stuck_)) return stuck_;
    for (auto it = holds_.rbegin(); it != holds_.rend(); ++it)
        if (workspace_.app(*it)) return *it;
    return 0;
}

bool SimSecureInput::enabled() const {
    std::lock_guard lock(mutex_);
    return holderLocked() != 0;
}

std::optional<int32_t> SimSecureInput::holderPid() const {
    std::lock_guard lock(mutex_);
    const int32_t holder = holderLocked();
    if (holder == 0 || !reported_) return std::nullopt;
    return holder;
}

void SimSecureInput::enable(int32_t pid) {
    std::lock_guard lock(mutex_);
    holds_.push_back(pid);
}

void SimSecureInput::disable(int32_t pid) {
    std::lock_guard lock(mutex_);
    // Only as many disables count as there were enables.
    if (auto it = std::find(holds_.rbegin(), holds_.rend(), pid); it != holds_.rend())
        holds_.erase(std::next(it).base());
}

void SimSecureInput::stick(int32_t pid) {
    std::lock_guard lock(mutex_);
    stuck_ = pid;
}

void SimSecureInput::unstick() {
    std::lock_guard lock(mutex_);
    stuck_ = 0;
}

void SimSecureInput::setHolderReported(bool reported) {
    std::lock_guard lock(mutex_);
    reported_ = reported;
}

} // namespace fenwold

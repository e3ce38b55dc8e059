#include "Inject.h"

#include "ports/KeySender.h"
#include "ports/Log.h"
#include "ports/Workspace.h"

namespace fenwold {

bool Inject::targets(uint16_t key, int32_t pid) const {
    if (pid >= 1) return true;
    log_->line(QStringLiteral("Fenwold: dropped synthetic key %1 — invalid target PID").arg(key));
    return false;
}

void Inject::post(uint16_t key, uint64_t flags, int32_t pid) const {
    if (!targets(key, pid)) return;
    // A failed creation skips that one event; the pair's other half still goes out.
    sender_->post(key, true, flags, pid);
    sender_->post(key, false, flags, pid);
}

void Inject::postHalf(uint16_t key, bool keyDown, uint64_t flags, int32_t pid) const {
    if (targets(key, pid)) sender_->post(key, keyDown, flags, pid);
}

void Inject::post(uint16_t key, uint64_t flags) const {
    const auto front = workspace_->frontmostApp();
    if (!front || front->pid < 1) {
        log_->line(QStringLiteral("Fenwold: dropped synthetic key %1 — no frontmost application").arg(key));
        return;
    }
    post(key, flags, front->pid);
}

void Inject::postToSession(uint16_t key, uint64_t flags) const {
    sender_->postToSession(key, true, flags);
    sender_->postToSession(key, false, flags);
}

} // namespace fenwold

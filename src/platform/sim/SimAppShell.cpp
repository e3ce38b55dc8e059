#include "SimAppShell.h"

#include <utility>

namespace fenwold {

void SimAppShell::setAccessoryPolicy() {
    accessory_ = true;
}
void SimAppShell::activateSelf() {
    ++activations_;
}
void SimAppShell::terminate() {
    terminated_ = true;
    if (onTerminate) onTerminate();
}
BundleInfo SimAppShell::bundle() const {
    return bundle_;
}
void SimAppShell::setBundle(BundleInfo info) {
    bundle_ = std::move(info);
}

Subscription SimAppShell::observeReopen(std::function<void()> handler) {
    const uint64_t id = next_++;
    reopen_.emplace(id, std::move(handler));
    return Subscription([this, id] { reopen_.erase(id); });
}

void SimAppShell::chooseApplication(std::function<void(const QUrl&)> chosen) {
    if (onChooseApplication) {
        onChooseApplication(std::move(chosen));
        return;
    }
    pendingChooser_ = std::move(chosen);
}

void SimAppShell::answerChooser(const QUrl& url) {
    if (auto chosen = std::exchange(pendingChooser_, nullptr)) chosen(url);
}

void SimAppShell::reopen() {
    auto handlers = reopen_;
    for (auto& [id, h] : handlers)
        h();
}

} // namespace fenwold

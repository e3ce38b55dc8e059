#include "SwitcherModel.h"

#include <algorithm>

namespace fenwold {

const WindowInfo* SwitcherModel::selectedWindow() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(windows_.size())) return nullptr;
    return &windows_[static_cast<std::size_t>(selected_)];
}

void SwitcherModel::setWindows(std::vector<WindowInfo> windows) {
    windows_ = std::move(windows);
    changed();
}

void SwitcherModel::setSelected(int index) {
    if (index == selected_) return;
    selected_ = index;
    changed();
}

void SwitcherModel::setThumb(uint32_t windowID, const QImage& image) {
    auto it =
        std::find_if(windows_.begin(), windows_.end(), [&](const WindowInfo& w) { return w.id == windowID; });
    if (it == windows_.end()) return;
    // The same image object (shared data) means nothing new to draw.
    if (!it->thumb.isNull() && it->thumb.cacheKey() == image.cacheKey()) return;
    it->thumb = image;
    changed();
}

bool SwitcherModel::removeBlank(uint32_t windowID) {
    auto it =
        std::find_if(windows_.begin(), windows_.end(), [&](const WindowInfo& w) { return w.id == windowID; });
    if (it == windows_.end()) return false;
    windows_.erase(it);
    clampSelection();
    changed();
    return true;
}

void SwitcherModel::removeAt(int index) {
    if (index < 0 || index >= static_cast<int>(windows_.size())) return;
    windows_.erase(windows_.begin() + index);
    clampSelection();
    changed();
}

void SwitcherModel::removeAllOf(int32_t pid) {
    std::erase_if(windows_, [pid](const WindowInfo& w) { return w.pid == pid; });
    clampSelection();
    changed();
}

void SwitcherModel::markMinimized(int index) {
    if (index < 0 || index >= static_cast<int>(windows_.size())) return;
    windows_[static_cast<std::size_t>(index)].isMinimized = true;
    changed();
}

void SwitcherModel::clampSelection() {
    selected_ = std::min(selected_, std::max(0, static_cast<int>(windows_.size()) - 1));
}

int SwitcherModel::observe(Observer observer) {
    const int key = nextKey_++;
    observers_.emplace(key, std::move(observer));
    return key;
}

void SwitcherModel::unobserve(int key) {
    observers_.erase(key);
}

void SwitcherModel::changed() {
    // Copy: an observer may add or remove observers while being told.
    const auto observers = observers_;
    for (const auto& [key, observer] : observers)
        observer();
}

} // namespace fenwold

#include "SimPasteboard.h"

namespace fenwold {

long SimPasteboard::changeCount() const {
    std::lock_guard lock(mutex_);
    return changeCount_;
}

std::vector<PasteboardItem> SimPasteboard::items() const {
    std::lock_guard lock(mutex_);
    ++reads_;
    std::vector<PasteboardItem> read = items_;
    if (racingCopy_) {
        items_ = std::move(*racingCopy_);
        ++changeCount_;
        racingCopy_.reset();
    }
    return read;
}

void SimPasteboard::copyDuringNextRead(const std::vector<PasteboardItem>& items) {
    std::lock_guard lock(mutex_);
    racingCopy_ = items;
}

bool SimPasteboard::write(const std::vector<PasteboardItem>& items) {
    std::lock_guard lock(mutex_);
    // Clearing changes the count even when the write itself is refused.
    ++changeCount_;
    items_.clear();
    if (writesFail_) return false;
    items_ = items;
    return true;
}

void SimPasteboard::copy(const std::vector<PasteboardItem>& items) {
    std::lock_guard lock(mutex_);
    ++changeCount_;
    items_ = items;
}

void SimPasteboard::copyText(const QString& text) {
    copy({PasteboardItem{{{QStringLiteral("public.utf8-plain-text"), text.toUtf8()}}}});
}

void SimPasteboard::setWritesFail(bool fail) {
    std::lock_guard lock(mutex_);
    writesFail_ = fail;
}

int SimPasteboard::reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
}

} // namespace fenwold

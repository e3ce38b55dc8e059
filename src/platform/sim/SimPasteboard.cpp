#include "SimPasteboard.h"

namespace fenwold {

long SimPasteboard::changeCount() const {
    std::lock_guard lock(mutex_);
    return changeCount_;
}

std::vector<PasteboardTypes> SimPasteboard::itemTypes() const {
    std::lock_guard lock(mutex_);
    ++listings_;
    std::vector<PasteboardTypes> listed = typesOf(items_);
    if (racingCopy_) {
        items_ = std::move(*racingCopy_);
        ++changeCount_;
        racingCopy_.reset();
    }
    return listed;
}

QByteArray SimPasteboard::data(std::size_t index, const QString& type) const {
    std::lock_guard lock(mutex_);
    dataReads_.push_back({index, type});
    return dataOf(items_, index, type);
}

std::vector<PasteboardItem> SimPasteboard::contents() const {
    std::lock_guard lock(mutex_);
    return items_;
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

int SimPasteboard::typeListings() const {
    std::lock_guard lock(mutex_);
    return listings_;
}

std::vector<SimPasteboard::DataRead> SimPasteboard::dataReads() const {
    std::lock_guard lock(mutex_);
    return dataReads_;
}

} // namespace fenwold

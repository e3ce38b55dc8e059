#pragma once

#include "ports/Pasteboard.h"

#include <mutex>
#include <optional>

namespace fenwold {

// The simulated general pasteboard: every write bumps the change count.
class SimPasteboard final : public Pasteboard {
public:
    long changeCount() const override;
    std::vector<PasteboardItem> items() const override;
    bool write(const std::vector<PasteboardItem>& items) override;

    // What another application copying does: replace the contents.
    void copy(const std::vector<PasteboardItem>& items);
    void copyText(const QString& text);
    // Make the next writes fail (a pasteboard that refuses data).
    void setWritesFail(bool fail);
    // How often items() has been read (reading contents can alert the user on recent systems).
    int reads() const;
    // Another application copies these items right after the next read has taken the old ones
    // (a copy racing the reader).
    void copyDuringNextRead(const std::vector<PasteboardItem>& items);

private:
    mutable std::mutex mutex_;
    // Mutable so a racing copy can land during a read.
    mutable std::vector<PasteboardItem> items_;
    mutable long changeCount_ = 1;
    bool writesFail_ = false;
    mutable int reads_ = 0;
    mutable std::optional<std::vector<PasteboardItem>> racingCopy_;
};

} // namespace fenwold

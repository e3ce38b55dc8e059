#pragma once

#include "ports/Pasteboard.h"

#include <mutex>

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

private:
    mutable std::mutex mutex_;
    std::vector<PasteboardItem> items_;
    long changeCount_ = 1;
    bool writesFail_ = false;
    mutable int reads_ = 0;
};

} // namespace fenwold

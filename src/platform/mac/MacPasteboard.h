#pragma once

#include "ports/Pasteboard.h"

namespace fenwold {

// The general pasteboard through NSPasteboard.
class MacPasteboard final : public Pasteboard {
public:
    long changeCount() const override;
    std::vector<PasteboardItem> items() const override;
    bool write(const std::vector<PasteboardItem>& items) override;
};

} // namespace fenwold

#pragma once

#include "ports/Pasteboard.h"

namespace fenwold {

// The general pasteboard through NSPasteboard. Listing an item's types reads no data; only
// `data` asks the item (and through it the copying application) for bytes.
class MacPasteboard final : public Pasteboard {
public:
    long changeCount() const override;
    std::vector<PasteboardTypes> itemTypes() const override;
    QByteArray data(std::size_t index, const QString& type) const override;
    bool write(const std::vector<PasteboardItem>& items) override;
};

} // namespace fenwold

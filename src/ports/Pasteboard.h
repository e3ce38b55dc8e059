#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace fenwold {

// One pasteboard item: its types in the order the item lists them, each with its bytes (a null
// byte array when the item lists the type but gives no data for it).
struct PasteboardItem {
    std::vector<std::pair<QString, QByteArray>> types;
    friend bool operator==(const PasteboardItem&, const PasteboardItem&) = default;
};

// The general pasteboard.
class Pasteboard {
public:
    Pasteboard() = default;
    Pasteboard(const Pasteboard&) = delete;
    Pasteboard& operator=(const Pasteboard&) = delete;
    virtual ~Pasteboard() = default;

    // Changes whenever the pasteboard's contents or owner change. Cheap.
    virtual long changeCount() const = 0;
    // The current items with every type's bytes.
    virtual std::vector<PasteboardItem> items() const = 0;
    // Clear the pasteboard and write the items; false when the write failed.
    virtual bool write(const std::vector<PasteboardItem>& items) = 0;
};

} // namespace fenwold

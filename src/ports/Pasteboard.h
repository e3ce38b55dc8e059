#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <utility>
#include <vector>

namespace fenwold {

// One pasteboard item: its types in the order the item lists them, each with its bytes (a null
// byte array when the item lists the type but gives no data for it).
struct PasteboardItem {
    std::vector<std::pair<QString, QByteArray>> types;
    friend bool operator==(const PasteboardItem&, const PasteboardItem&) = default;
};

// The types one item lists, in its order.
using PasteboardTypes = std::vector<QString>;

// The general pasteboard. Reading is in two steps so that nothing is fetched before the reader
// has decided it wants it: the types of every item first (they come with the copy and cost
// nothing), then the bytes of one type of one item at a time (which may make the copying
// application render that format).
class Pasteboard {
public:
    Pasteboard() = default;
    Pasteboard(const Pasteboard&) = delete;
    Pasteboard& operator=(const Pasteboard&) = delete;
    virtual ~Pasteboard() = default;

    // Changes whenever the pasteboard's contents or owner change. Cheap.
    virtual long changeCount() const = 0;
    // The types of each current item, in item order. Reads no data.
    virtual std::vector<PasteboardTypes> itemTypes() const = 0;
    // The bytes the current item at `index` gives for `type`; a null byte array when it gives
    // none or there is no such item.
    virtual QByteArray data(std::size_t index, const QString& type) const = 0;
    // Clear the pasteboard and write the items; false when the write failed.
    virtual bool write(const std::vector<PasteboardItem>& items) = 0;
};

// The two reading steps over items held in memory, for pasteboards that keep their contents.
inline std::vector<PasteboardTypes> typesOf(const std::vector<PasteboardItem>& items) {
    std::vector<PasteboardTypes> out;
    out.reserve(items.size());
    for (const PasteboardItem& item : items) {
        PasteboardTypes& types = out.emplace_back();
        for (const auto& entry : item.types)
            types.push_back(entry.first);
    }
    return out;
}

inline QByteArray dataOf(const std::vector<PasteboardItem>& items, std::size_t index, const QString& type) {
    if (index >= items.size()) return {};
    for (const auto& [listed, bytes] : items[index].types)
        if (listed == type) return bytes;
    return {};
}

} // namespace fenwold

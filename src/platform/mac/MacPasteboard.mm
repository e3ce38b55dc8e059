#include "MacPasteboard.h"

#import <AppKit/AppKit.h>

namespace fenwold {

long MacPasteboard::changeCount() const {
    return static_cast<long>([NSPasteboard generalPasteboard].changeCount);
}

std::vector<PasteboardTypes> MacPasteboard::itemTypes() const {
    std::vector<PasteboardTypes> result;
    @autoreleasepool {
        for (NSPasteboardItem* item in [NSPasteboard generalPasteboard].pasteboardItems) {
            PasteboardTypes& types = result.emplace_back();
            for (NSPasteboardType type in item.types)
                types.push_back(QString::fromNSString(type));
        }
    }
    return result;
}

QByteArray MacPasteboard::data(std::size_t index, const QString& type) const {
    @autoreleasepool {
        NSArray<NSPasteboardItem*>* items = [NSPasteboard generalPasteboard].pasteboardItems;
        NSPasteboardItem* item = index < items.count ? items[index] : nil;
        // A nil item or a type without data gives nil, which converts to a null byte array.
        return QByteArray::fromNSData([item dataForType:type.toNSString()]);
    }
}

bool MacPasteboard::write(const std::vector<PasteboardItem>& items) {
    @autoreleasepool {
        NSMutableArray<NSPasteboardItem*>* objects = [NSMutableArray arrayWithCapacity:items.size()];
        for (const auto& item : items) {
            NSPasteboardItem* written = [[NSPasteboardItem alloc] init];
            for (const auto& [type, bytes] : item.types)
                [written setData:bytes.toNSData() forType:type.toNSString()];
            [objects addObject:written];
        }
        NSPasteboard* pasteboard = [NSPasteboard generalPasteboard];
        [pasteboard clearContents];
        return [pasteboard writeObjects:objects];
    }
}

} // namespace fenwold

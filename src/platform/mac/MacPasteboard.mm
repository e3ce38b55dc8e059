#include "MacPasteboard.h"

#import <AppKit/AppKit.h>

namespace fenwold {

long MacPasteboard::changeCount() const {
    return static_cast<long>([NSPasteboard generalPasteboard].changeCount);
}

std::vector<PasteboardItem> MacPasteboard::items() const {
    std::vector<PasteboardItem> result;
    @autoreleasepool {
        for (NSPasteboardItem *item in [NSPasteboard generalPasteboard].pasteboardItems) {
            PasteboardItem converted;
            // A type without data becomes a null byte array; the type itself stays listed.
            for (NSPasteboardType type in item.types)
                converted.types.emplace_back(QString::fromNSString(type),
                                             QByteArray::fromNSData([item dataForType:type]));
            result.push_back(std::move(converted));
        }
    }
    return result;
}

bool MacPasteboard::write(const std::vector<PasteboardItem> &items) {
    @autoreleasepool {
        NSMutableArray<NSPasteboardItem *> *objects = [NSMutableArray arrayWithCapacity:items.size()];
        for (const auto &item : items) {
            NSPasteboardItem *written = [[NSPasteboardItem alloc] init];
            for (const auto &[type, bytes] : item.types)
                [written setData:bytes.toNSData() forType:type.toNSString()];
            [objects addObject:written];
        }
        NSPasteboard *pasteboard = [NSPasteboard generalPasteboard];
        [pasteboard clearContents];
        return [pasteboard writeObjects:objects];
    }
}

} // namespace fenwold

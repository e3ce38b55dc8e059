#include "MacInputSources.h"

#include "InputSourceProperties.h"

#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>

namespace fenwold {

namespace {

// The keyboard sources that are installed and enabled, in the system's order.
CFArrayRef copyKeyboardSources() {
    NSDictionary* filter = @{
        (__bridge NSString*)
        kTISPropertyInputSourceCategory : (__bridge NSString*)kTISCategoryKeyboardInputSource
    };
    return TISCreateInputSourceList((__bridge CFDictionaryRef)filter, false);
}

} // namespace

std::vector<InputSourceInfo> MacInputSources::sources() const {
    std::vector<InputSourceInfo> out;
    CFArrayRef list = copyKeyboardSources();
    if (!list)
        return out;
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        auto source = static_cast<TISInputSourceRef>(const_cast<void*>(CFArrayGetValueAtIndex(list, i)));
        out.push_back({inputSourceID(source), inputSourceFlag(source, kTISPropertyInputSourceIsSelectCapable),
                       inputSourceFlag(source, kTISPropertyInputSourceIsEnabled), true});
    }
    CFRelease(list);
    return out;
}

std::optional<QString> MacInputSources::current() const {
    TISInputSourceRef source = TISCopyCurrentKeyboardInputSource();
    if (!source)
        return std::nullopt;
    const QString id = inputSourceID(source);
    CFRelease(source);
    // A source without an identifier reads as absent, as the selection rule compares them.
    return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
}

bool MacInputSources::select(const QString& id) {
    CFArrayRef list = copyKeyboardSources();
    if (!list)
        return false;
    OSStatus status = paramErr;
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        auto source = static_cast<TISInputSourceRef>(const_cast<void*>(CFArrayGetValueAtIndex(list, i)));
        if (inputSourceID(source) == id) {
            status = TISSelectInputSource(source);
            break;
        }
    }
    CFRelease(list);
    return status == noErr;
}

} // namespace fenwold

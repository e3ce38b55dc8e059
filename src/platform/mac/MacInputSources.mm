#include "MacInputSources.h"

#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>

namespace fenwold {

namespace {

bool boolProperty(TISInputSourceRef source, CFStringRef key) {
    const auto value = static_cast<CFBooleanRef>(TISGetInputSourceProperty(source, key));
    return value && CFBooleanGetValue(value);
}

QString idOf(TISInputSourceRef source) {
    const auto value = static_cast<CFStringRef>(TISGetInputSourceProperty(source, kTISPropertyInputSourceID));
    return value ? QString::fromCFString(value) : QString();
}

// The keyboard sources that are installed and enabled, in the system's order.
CFArrayRef copyKeyboardSources() {
    NSDictionary *filter = @{
        (__bridge NSString *)
        kTISPropertyInputSourceCategory : (__bridge NSString *)kTISCategoryKeyboardInputSource
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
        auto source = static_cast<TISInputSourceRef>(const_cast<void *>(CFArrayGetValueAtIndex(list, i)));
        out.push_back({idOf(source), boolProperty(source, kTISPropertyInputSourceIsSelectCapable),
                       boolProperty(source, kTISPropertyInputSourceIsEnabled), true});
    }
    CFRelease(list);
    return out;
}

std::optional<QString> MacInputSources::current() const {
    TISInputSourceRef source = TISCopyCurrentKeyboardInputSource();
    if (!source)
        return std::nullopt;
    const QString id = idOf(source);
    CFRelease(source);
    // A source without an identifier reads as absent, as the selection rule compares them.
    return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
}

bool MacInputSources::select(const QString &id) {
    CFArrayRef list = copyKeyboardSources();
    if (!list)
        return false;
    OSStatus status = paramErr;
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        auto source = static_cast<TISInputSourceRef>(const_cast<void *>(CFArrayGetValueAtIndex(list, i)));
        if (idOf(source) == id) {
            status = TISSelectInputSource(source);
            break;
        }
    }
    CFRelease(list);
    return status == noErr;
}

} // namespace fenwold

#pragma once

#include <Carbon/Carbon.h>
#include <QString>

namespace fenwold {

// Properties of an input source, under the Get rule: nothing here is the caller's to release.
// Main thread only, as every Text Input Sources call.
inline bool inputSourceFlag(TISInputSourceRef source, CFStringRef key) {
    const auto value = static_cast<CFBooleanRef>(TISGetInputSourceProperty(source, key));
    return value && CFBooleanGetValue(value);
}

inline QString inputSourceID(TISInputSourceRef source) {
    const auto value = static_cast<CFStringRef>(TISGetInputSourceProperty(source, kTISPropertyInputSourceID));
    return value ? QString::fromCFString(value) : QString();
}

} // namespace fenwold

#include "MacKeyboardLayout.h"

#include "CFRef.h"
#include "InputSourceProperties.h"

#include <Carbon/Carbon.h>
#include <CoreFoundation/CoreFoundation.h>

#include <memory>

namespace fenwold {

namespace {

// The layouts a choice names, in the order of `LayoutChoice`: the one in use (an input method's
// own), and the most recently used ASCII-capable one. Both follow the Copy rule.
using CopyLayout = TISInputSourceRef (*)(void);
constexpr CopyLayout kCopyLayout[] = {TISCopyCurrentKeyboardLayoutInputSource,
                                      TISCopyCurrentASCIICapableKeyboardLayoutInputSource};

// UCKeyTranslate's modifier state is the event record's modifiers shifted right by 8.
constexpr UInt32 kCommandHeld = (cmdKey >> 8) & 0xFF;
constexpr UInt32 kCommandShiftHeld = ((cmdKey | shiftKey) >> 8) & 0xFF;

// One key pressed down from no dead-key state. A dead key types nothing and leaves a state
// behind; an error types nothing.
KeyTranslation translateKey(const UCKeyboardLayout* layout, UInt16 keyCode, UInt32 modifiers,
                            UInt32 keyboardType) {
    UInt32 deadKeyState = 0;
    UniChar characters[4];
    UniCharCount length = 0;
    const OSStatus status = UCKeyTranslate(layout, keyCode, kUCKeyActionDown, modifiers, keyboardType, 0,
                                           &deadKeyState, 4, &length, characters);
    const UniCharCount typed = status == noErr ? length : 0;
    return {QString::fromUtf16(reinterpret_cast<const char16_t*>(characters), static_cast<qsizetype>(typed)),
            deadKeyState != 0};
}

// Delivered on the main thread, as every distributed notification.
void selectionChanged(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                      CFDictionaryRef) {
    (*static_cast<std::function<void()>*>(observer))();
}

} // namespace

std::optional<KeyboardInputSource> MacKeyboardLayout::currentSource() const {
    CFRef<TISInputSourceRef> source(TISCopyCurrentKeyboardInputSource());
    if (!source)
        return std::nullopt;
    return KeyboardInputSource{inputSourceID(source.get()),
                               inputSourceFlag(source.get(), kTISPropertyInputSourceIsASCIICapable)};
}

std::optional<LayoutTranslations> MacKeyboardLayout::translate(LayoutChoice which,
                                                               uint32_t keyboardType) const {
    CFRef<TISInputSourceRef> source(kCopyLayout[static_cast<size_t>(which)]());
    if (!source)
        return std::nullopt;
    // Absent for a layout that has only old 'KCHR' data. The data belongs to the source.
    const auto data =
        static_cast<CFDataRef>(TISGetInputSourceProperty(source.get(), kTISPropertyUnicodeKeyLayoutData));
    if (!data)
        return std::nullopt;
    const auto* layout = reinterpret_cast<const UCKeyboardLayout*>(CFDataGetBytePtr(data));
    LayoutTranslations keys;
    keys.sourceID = inputSourceID(source.get());
    keys.keyboardType = keyboardType;
    for (UInt16 code = 0; code < kLayoutKeyCount; ++code) {
        keys.plain[code] = translateKey(layout, code, kCommandHeld, keyboardType);
        keys.shifted[code] = translateKey(layout, code, kCommandShiftHeld, keyboardType);
    }
    return keys;
}

uint32_t MacKeyboardLayout::keyboardType() const { return LMGetKbdType(); }

Subscription MacKeyboardLayout::observeChanges(std::function<void()> handler) {
    // Delivered at once even while the application is inactive, which an accessory application
    // almost always is.
    auto* observer = new std::function<void()>(std::move(handler));
    CFNotificationCenterRef center = CFNotificationCenterGetDistributedCenter();
    CFNotificationCenterAddObserver(center, observer, selectionChanged,
                                    kTISNotifySelectedKeyboardInputSourceChanged, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    return Subscription([center, observer] {
        CFNotificationCenterRemoveObserver(center, observer, kTISNotifySelectedKeyboardInputSourceChanged,
                                           nullptr);
        delete observer;
    });
}

} // namespace fenwold

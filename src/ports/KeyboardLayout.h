#pragma once

#include "Subscription.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace fenwold {

// Virtual key codes a keyboard layout translates: 0...127.
inline constexpr int kLayoutKeyCount = 128;

// What one key types, as the layout's data translates it.
struct KeyTranslation {
    QString text;         // the characters typed; empty for none
    bool deadKey = false; // the key starts a dead-key sequence (an accent waiting for its letter)
    friend bool operator==(const KeyTranslation&, const KeyTranslation&) = default;
};

// Every key of one keyboard layout translated with Command held, as the system reads shortcuts:
// with no other modifier and with Shift.
struct LayoutTranslations {
    QString sourceID;          // the layout's input-source identifier
    uint32_t keyboardType = 0; // the physical keyboard type the keys were translated for
    std::array<KeyTranslation, kLayoutKeyCount> plain;
    std::array<KeyTranslation, kLayoutKeyCount> shifted;
};

// The keyboard input source selected now: a layout or an input method.
struct KeyboardInputSource {
    QString id;
    bool asciiCapable = false; // it types ASCII (not so for Russian, Greek, Japanese input, ...)
};

// The layouts a shortcut may be read with.
enum class LayoutChoice {
    current,      // the keyboard layout in use (for an input method, the layout it uses)
    asciiCapable, // the most recently used ASCII-capable layout, which the system keeps for shortcuts
};

// The keyboard layouts of the session. Main thread only: the system's input-source calls trap
// elsewhere.
class KeyboardLayout {
public:
    KeyboardLayout() = default;
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;
    virtual ~KeyboardLayout() = default;

    // The selected keyboard input source; none when it cannot be read.
    virtual std::optional<KeyboardInputSource> currentSource() const = 0;
    // The keys of the chosen layout for a keyboard type; none when the layout has no Unicode
    // layout data.
    virtual std::optional<LayoutTranslations> translate(LayoutChoice which, uint32_t keyboardType) const = 0;
    // The type of the keyboard typed on last.
    virtual uint32_t keyboardType() const = 0;
    // Hear that the selected keyboard input source changed.
    virtual Subscription observeChanges(std::function<void()> handler) = 0;
};

} // namespace fenwold

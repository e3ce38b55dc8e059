#pragma once

#include "SimInputSources.h"
#include "ports/KeyboardLayout.h"

#include <QChar>
#include <mutex>
#include <string_view>
#include <vector>

namespace fenwold {

// One keyboard layout of the simulated Mac: what the keys of the main block (key codes 0...50)
// type, unshifted and with Shift, and what they give with Command held where that differs (a
// layout may read its shortcuts in QWERTY while typing Dvorak). Keypad keys are alike in all.
struct SimLayout {
    QString id;    // the input-source identifier
    QString name;  // as the input menu lists it
    QString label; // as the menu bar shows the selected one
    bool asciiCapable = true;
    std::u16string_view typed, typedShifted;
    std::u16string_view command, commandShifted; // empty: as typed
    std::u16string_view deadKeys;                // characters that wait for the next key
};

// A key, and whether Shift is held with it, that types a character.
struct TypedKey {
    uint16_t keyCode = 0;
    bool shift = false;
};

// The layouts of the simulated Mac: US, German, French (AZERTY), Dvorak, "Dvorak – QWERTY ⌘"
// and Russian. The selected input source decides; a source the session knows no layout for
// (an input method) types with US keys. Shortcuts, like AppKit's key equivalents, are read with
// the selected layout when it types ASCII and otherwise with the ASCII-capable layout selected
// last.
class SimKeyboardLayout final : public KeyboardLayout {
public:
    explicit SimKeyboardLayout(SimInputSources& sources);

    std::optional<KeyboardInputSource> currentSource() const override;
    std::optional<LayoutTranslations> translate(LayoutChoice which, uint32_t keyboardType) const override;
    uint32_t keyboardType() const override;
    // The session's keyboard: the type an ANSI keyboard of a current Mac reports.
    static constexpr uint32_t kKeyboardType = 40;
    Subscription observeChanges(std::function<void()> handler) override;

    // Every layout the session offers, in the input menu's order.
    const std::vector<SimLayout>& layouts() const { return layouts_; }
    // The layout of an identifier or a name (case ignored; also the identifier's last part,
    // "DVORAK-QWERTYCMD"), if the session has it.
    const SimLayout* find(const QString& idOrName) const;
    // Make every layout an enabled input source (the current one stays) and select one; false
    // when there is no such layout.
    bool select(const QString& idOrName);
    // The layout the keys type with now, and the one ⌘ key equivalents are matched with.
    const SimLayout& typing() const;
    const SimLayout& shortcuts() const;

    // What a key types, and what it gives with Command held, as the applications read them.
    std::optional<QChar> typed(uint16_t keyCode, bool shift) const;
    std::optional<QChar> equivalent(uint16_t keyCode, bool shift) const;
    // The key that types a character, and the key a shortcut with that letter is pressed with.
    std::optional<TypedKey> keyTyping(QChar character) const;
    std::optional<TypedKey> keyForShortcut(QChar character) const;

    // Test hooks: another layout the session offers; the type of the keyboard typed on.
    void install(const SimLayout& layout);

private:
    void selectionChanged();

    SimInputSources& sources_;
    std::vector<SimLayout> layouts_;
    mutable std::mutex mutex_;
    QString lastAsciiCapable_;
    ObserverList observers_;
    Subscription selection_;
};

} // namespace fenwold

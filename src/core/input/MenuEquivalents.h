#pragma once

#include "ports/Accessibility.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace fenwold {

class Workspace;
class MainQueue;
class Inject;
class HintHUD;
class Log;
class ShortcutLayout;

// A Mac shortcut as a menu item carries it: the character of its key equivalent and the
// modifiers held with it, as bits of the flag word. A letter is compared without its case; Shift
// counts only where the modifiers hold it (⌘? is "?" with Command, whatever key types "?").
struct MenuChord {
    char32_t character = 0;
    uint64_t flags = 0;
    friend bool operator==(const MenuChord&, const MenuChord&) = default;
};

// Performs a Mac shortcut that no key of the keyboard layout types (⌘[ on German or French): it
// presses the front application's menu item whose key equivalent the shortcut is. Items are found
// by their key equivalents, never by their titles, so the menus' language does not matter. The
// walk asks Accessibility, so it runs on the main queue; every element is given the menu walk's
// timeout, and an application that lets one request time out is not asked further.
class MenuEquivalents {
public:
    enum class Outcome {
        pressed,     // the item was found and pressed
        unavailable, // found, but greyed out: the application has nothing to do now
        missing,     // no item has the shortcut
        unanswered,  // the application did not answer in time
    };
    struct Result {
        Outcome outcome = Outcome::missing;
        QStringList path; // the titles from the menu bar down to the item found
    };
    // One shortcut to perform for a row: the Windows keys it answers (for the hint and the log),
    // the application, the shortcut, and the key as it was typed, which goes on to the
    // application when it has no item for the shortcut (unless `passKey` is false).
    struct Request {
        QString keys;
        int32_t pid = 0;
        MenuChord chord;
        uint16_t key = 0;
        uint64_t keyFlags = 0;
        bool passKey = true;
    };

    // Elements looked at in one walk at most; a menu bar is a few hundred.
    static constexpr int kMaxElements = 4000;

    MenuEquivalents(Accessibility& accessibility, Workspace& workspace, MainQueue& mainQueue,
                    const Inject& inject, HintHUD* hints, Log& log, const ShortcutLayout* layout);
    MenuEquivalents(const MenuEquivalents&) = delete;
    MenuEquivalents& operator=(const MenuEquivalents&) = delete;

    // Any thread: the walk and what follows it (the press and its hint, or one log line and the
    // key as typed), queued on the main queue.
    void perform(Request request);
    // Main queue: finds the application's item for the shortcut and presses it.
    Result press(int32_t pid, MenuChord chord);

    // The shortcut of a menu item from its command character and modifiers attributes
    // (`AXMenuItemModifiers`: Shift 1, Option 2, Control 4, no Command 8); none for an item without
    // a single character.
    static std::optional<MenuChord> chordOf(const AXValue& character, const AXValue& modifiers);
    // How a shortcut reads: "⌥⌘L", "⌘[".
    static QString describe(MenuChord chord);

private:
    struct Walk;
    void performNow(const Request& request);
    bool find(Walk& walk, const AXElement& element, int depth);

    Accessibility* ax_;
    Workspace* workspace_;
    MainQueue* mainQueue_;
    const Inject* inject_;
    HintHUD* hints_;
    Log* log_;
    const ShortcutLayout* layout_;
};

} // namespace fenwold

#pragma once

#include "FenwoldKeys.h"
#include "KeyRows.h"
#include "TapDispatcher.h"

#include <QString>

namespace fenwold {

// What the key-down rows do, on the event-tap thread: post keys, show hints, and queue
// everything that touches windows, panels or the workspace on the main queue. Keys that name a
// letter are posted with the key that gives it on the user's layout.
class KeyActions {
public:
    explicit KeyActions(const TapDispatcher::Parts& parts);
    KeyActions(const KeyActions&) = delete;
    KeyActions& operator=(const KeyActions&) = delete;

    // Overlays that own the keyboard, the master switch and excluded applications.
    RowAnswer snapAssistKey(const KeyPress& press);
    RowAnswer snapLayoutsKey(const KeyPress& press);
    RowAnswer windowMoveKey(const KeyPress& press);
    RowAnswer toggleMasterSwitch();
    RowAnswer passInExcludedApp() const;

    // Windows, applications and the screen.
    RowAnswer openWindowMenu();
    RowAnswer open(const char* applicationPath);
    RowAnswer screenshot(bool windowOnly);
    RowAnswer snap(const KeyPress& press);
    // Win+Shift+← / →: the front window to the display on that side.
    RowAnswer moveToDisplay(const KeyPress& press);
    // Win+Z: the snap layouts over the front window, or away again.
    RowAnswer snapLayouts(const KeyPress& press);
    RowAnswer altF4(const KeyPress& press);
    // A Win+key action (or another that reaches past the front application), when the Win keys
    // are wired in. A held key acts once: its autorepeats are swallowed.
    template <class Action>
    RowAnswer win(const KeyPress& press, Action action) {
        if (!p_.winKeys) return RowAnswer::next;
        if (press.repeat) return RowAnswer::swallow;
        action(*p_.winKeys);
        return RowAnswer::swallowAndHint;
    }

    // Posted shortcuts: a key by its code, or the key that gives a letter on the layout.
    RowAnswer post(int64_t key, uint64_t flags);
    RowAnswer postLetter(char32_t letter, uint64_t flags, const KeyPress& press);
    // Ctrl+Insert, Shift+Insert, Shift+Delete: Command and a letter, Finder's cut first.
    RowAnswer clipboardKey(char32_t letter, const KeyPress& press);
    // Ctrl+A, X, C, V: Command and the same key, except in terminals; Finder's cut first.
    RowAnswer controlLetter(const KeyPress& press);
    // Ctrl+Z, Y, S, … and Ctrl+Backspace/Delete, except in terminals.
    RowAnswer editingLetter(const KeyPress& press);
    RowAnswer finderKey(const KeyPress& press);
    // The Mac's ⌘X, ⌘C, ⌘V on their way: they end a pending Finder cut. Always `next`.
    RowAnswer macClipboardKey(const KeyPress& press);
    RowAnswer zoom(const KeyPress& press);
    // Ctrl+E: a known browser's address bar, Finder's search; other applications get the key.
    RowAnswer searchBox(const KeyPress& press);
    // Ctrl+J: a known browser's downloads, with its own key; other applications get the key.
    RowAnswer downloads(const KeyPress& press);
    // Win+Space and ⇧Win+Space: the next or previous input source.
    RowAnswer nextInputSource(const KeyPress& press);

    // The switcher.
    RowAnswer altTab(const KeyPress& press);
    RowAnswer cancelSwitcher(const KeyPress& press);
    RowAnswer switcherKey(const KeyPress& press);

    void hint(const QString& win, const QString& mac) const;
    // A row's hint, built only when hints show.
    void hint(const KeyRow& row, const KeyPress& press);
    // No key gives the letter a row would post: its shortcut goes through the front application's
    // menu item for it, on the main queue, and the key is held back meanwhile. A held key acts once.
    TapAnswer viaMenu(const KeyRow& row, const KeyPress& press);

    // The key that gives a letter or a symbol on the layout, whichever level it is on.
    static std::optional<uint16_t> keyGiving(char32_t character, const KeyLayoutTable& layout);
    bool frontIsTerminal();
    bool frontExcluded() const;
    // Which kind of application is in front (a `frontapp` bit), asked once per key-down.
    uint8_t frontApp();
    bool inFinder() { return frontApp() == frontapp::finder; }
    // The known browser in front, if one is.
    const KnownBrowser* frontBrowser() { return frontApp() == frontapp::browser ? browser_ : nullptr; }
    // A new key-down: the application in front is asked again when a row needs it.
    void newKeyDown() { front_ = 0; }

private:
    void queueSnap(int64_t key, bool shift);
    // Records the shortcut no key of the layout types, for `viaMenu`.
    RowAnswer noKey(char32_t letter, uint64_t flags);
    // Without the menu walk (a part left out): the key passes, and the log says why.
    void reportNoKey(std::string_view row, const KeyPress& press) const;

    const TapDispatcher::Parts& p_;
    char32_t unavailable_ = 0;      // the letter the last `noKey` answer wanted
    uint64_t unavailableFlags_ = 0; // and the modifiers it wanted with it
    QString unavailableKeys_;       // the Windows keys, when the row's name does not say them
    uint8_t front_ = 0;             // the kind of application in front for this key-down; 0 not asked yet
    const KnownBrowser* browser_ = nullptr; // which browser, when `front_` says one is in front
};

} // namespace fenwold

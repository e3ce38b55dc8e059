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
    RowAnswer zoom(const KeyPress& press);

    // The switcher.
    RowAnswer altTab(const KeyPress& press);
    RowAnswer cancelSwitcher(const KeyPress& press);
    RowAnswer switcherKey(const KeyPress& press);

    void hint(const QString& win, const QString& mac) const;
    // A row's hint, built only when hints show.
    void hint(const KeyRow& row, const KeyPress& press);
    // A row passed the key because no key gives the letter it would post: one log line.
    void reportNoKey(std::string_view row, const KeyPress& press) const;

    // The key that gives a letter or a symbol on the layout, whichever level it is on.
    static std::optional<uint16_t> keyGiving(char32_t character, const KeyLayoutTable& layout);
    bool frontIsTerminal();
    bool frontExcluded() const;
    // Which kind of application is in front (a `frontapp` bit), asked once per key-down.
    uint8_t frontApp();
    bool inFinder() { return frontApp() == frontapp::finder; }
    // A new key-down: the application in front is asked again when a row needs it.
    void newKeyDown() { front_ = 0; }

private:
    void queueSnap(int64_t key, bool shift);

    const TapDispatcher::Parts& p_;
    char32_t unavailable_ = 0; // the letter the last `noKey` answer wanted
    uint8_t front_ = 0;        // the kind of application in front for this key-down; 0 not asked yet
};

} // namespace fenwold

#pragma once

#include "core/settings/CatalogueText.h"
#include "ports/PrefKey.h"

#include <QStringList>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace fenwold {

class PrefsStore;
class Workspace;
class Accessibility;
class MainQueue;
class Inject;
class HintHUD;
class Log;
class KeyLayoutTable;
class MenuEquivalents;

// Whether a cut is pending in Finder: Ctrl+X marks it, Ctrl+C or a paste anywhere clears it.
// Keys are told by their letter on the user's layout.
class CutState {
public:
    enum class Verb { pass, copyInstead, move };
    // Ctrl+X, C or V (or Shift+Delete, Ctrl+Insert, Shift+Insert).
    Verb on(char32_t letter, bool inFinder);
    // The Mac's own ⌘X, ⌘C or ⌘V reached the application: in Finder each replaces what the
    // pasteboard holds, and a paste anywhere uses it, so the cut is over either way.
    void macKey(char32_t letter, bool inFinder);
    bool pending() const { return cut_; }

private:
    bool cut_ = false;
};

// Finder's plain keys wait for a main-queue look at the focused element. A mapped press is
// delivered once, after the physical key is released (a held Enter opens once). A key that keeps
// its meaning (a name or a field is being typed in) goes out as soon as that is known: still
// held, its key-down goes at once and its autorepeats and key-up follow it, so a held Backspace
// keeps deleting and keys rolled over it arrive after it.
class PlainKeyCoordinator {
public:
    struct Mapping {
        uint16_t originalKey = 0;
        uint16_t mappedKey = 0;
        uint64_t mappedFlags = 0;
        int entry = 0; // the row of Finder's key table, for its hint
        // The letter to post with `mappedFlags` when no key of the layout gives it: Finder's menu
        // item for that shortcut is pressed instead.
        char32_t viaMenu = 0;
    };
    struct Pending {
        Mapping mapping;
        uint64_t originalFlags = 0;
        int32_t pid = 0;
        bool released = false;
        std::optional<bool> useOriginal;
        bool downDelivered = false; // as typed, while held: its key-up is still owed
    };
    struct Delivery {
        enum class Part { press, down, up }; // a press is the key-down and key-up pair
        uint16_t key = 0;
        uint64_t flags = 0;
        int32_t pid = 0;
        Part part = Part::press;
        // A mapped key no key of the layout types: the menu item for this letter with
        // `menuFlags`, and `key` with `flags` (the key as pressed) only when there is none.
        char32_t viaMenu = 0;
        uint64_t menuFlags = 0;
        int entry = 0;
        friend bool operator==(const Delivery&, const Delivery&) = default;
    };

    // False when an entry for the key already exists (an autorepeat): nothing new is recorded,
    // and `repeat` is set when the key already went out as typed, to go out again.
    bool begin(const Mapping& mapping, uint64_t originalFlags, int32_t pid, std::optional<Delivery>& repeat);
    // The key-up arrived; false when there is no pending entry for it.
    bool release(uint16_t key, std::optional<Delivery>& ready);
    void resolve(uint16_t key, bool useOriginal, int32_t deliverTo, std::optional<Delivery>& ready);
    // Empties the map: what each pending key still owes, as it was pressed.
    std::vector<Delivery> takeAll();

private:
    // What the entry owes once it is decided, removing it when that is all (caller holds the lock).
    std::optional<Delivery> takeIfReadyLocked(uint16_t key);

    mutable std::mutex lock_;
    std::map<uint16_t, Pending> pending_;
    // Whether anything is pending, readable without the lock: a key-up on the tap thread, which
    // alone adds entries, learns that none is its own without waiting for the main thread.
    std::atomic<bool> anyPending_{false};
};

// One of Finder's Explorer keys: the key as pressed, what Finder gets for it unless something is
// being typed, and the row that switches it.
struct FinderKey {
    enum class Held { nothing, option, ctrl }; // besides Shift, which only the plain keys allow
    int64_t key = 0;                           // the pressed key's code, or
    char32_t letter = 0;                       // the letter it gives on the layout (0: the code decides)
    Held held = Held::nothing;
    PrefKey pref;
    uint16_t mappedKey = 0;    // posted with `mappedFlags`, or
    char32_t mappedLetter = 0; // the key that gives this letter on the layout, with Command
    uint64_t mappedFlags = 0;
    std::u16string_view win, mac; // the hint
};
// The catalogue texts of Finder's keys: F2 renames, Enter opens, Del and Ctrl+D move to the
// Trash, Backspace goes back, Alt+↑ to the enclosing folder, Alt+Enter shows Get Info, and Ctrl+X
// then Ctrl+V moves files.
std::span<const ListedShortcut> finderListings();

// Explorer keys for Finder: Ctrl+X then Ctrl+V moves files, and the plain keys of Finder's key
// table, which keep their meaning while a name or a field is being typed in.
// `handle` and `handleKeyUp` run on the event-tap thread.
class FinderKeys {
public:
    static constexpr const char* kFinderBundleID = "com.apple.finder";

    struct FocusOwner {
        int32_t pid = 0;
        bool editing = false;
    };

    FinderKeys(PrefsStore& prefs, Workspace& workspace, Accessibility& accessibility, MainQueue& mainQueue,
               const Inject& inject, HintHUD& hints, Log& log, MenuEquivalents* menus = nullptr);
    FinderKeys(const FinderKeys&) = delete;
    FinderKeys& operator=(const FinderKeys&) = delete;

    // One of the table's keys, or Ctrl+X, C or V where the hardware swap makes Ctrl arrive as
    // Command (the rows that turn Ctrl into Command are off then). The Windows key's ⌘X, ⌘C and
    // ⌘V are not Explorer's keys: they belong to the Windows-key rows, or to the Mac.
    bool handle(int64_t key, char32_t letter, uint64_t flags, const KeyLayoutTable& layout);
    // Explorer's cut, copy or paste (Ctrl+X, C, V, Shift+Delete, Ctrl+Insert, Shift+Insert), told
    // by its letter: true when taken (the cut's copy, the move), false when the caller posts ⌘ and
    // the letter as usual. The copy and the move are posted with the keys that give them.
    bool clipboardKey(char32_t letter, const KeyLayoutTable& layout);
    // The Mac's ⌘X, ⌘C or ⌘V is on its way to the application.
    void macClipboardKey(char32_t letter, bool inFinder) { cut_.macKey(letter, inFinder); }
    bool handleKeyUp(int64_t key);
    // Delivers every pending key unchanged (the tap was disabled and key-ups may be lost).
    void cancelPending();
    // Main queue: decide a pending plain key from the focused element (`viaMenu`: its shortcut goes
    // through Finder's menu, which shows its own hint).
    void resolvePlain(uint16_t originalKey, int entry, int32_t pid, bool viaMenu = false);
    std::optional<FocusOwner> focusOwner(int32_t finderPid);

    const CutState& cut() const { return cut_; }
    // The table's entry for a key-down, and what it maps to on the layout; none for other keys
    // and where no key of the layout gives the letter to post.
    std::optional<PlainKeyCoordinator::Mapping> plainMapping(int64_t key, char32_t letter, uint64_t flags,
                                                             const KeyLayoutTable& layout) const;

private:
    void deliver(const PlainKeyCoordinator::Delivery& d) const;

    PrefsStore* prefs_;
    Workspace* workspace_;
    Accessibility* accessibility_;
    MainQueue* mainQueue_;
    const Inject* inject_;
    HintHUD* hints_;
    Log* log_;
    MenuEquivalents* menus_;
    CutState cut_;
    PlainKeyCoordinator coordinator_;
};

} // namespace fenwold

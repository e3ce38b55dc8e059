#pragma once

#include "InputRoutingState.h"
#include "KeyLayoutTable.h"
#include "Keys.h"
#include "core/settings/CatalogueText.h"
#include "ports/EventTapHost.h"
#include "ports/PrefKey.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace fenwold {

class KeyActions;
class Prefs;
struct Hint;

// Facts of a key-down, one bit each, for the rows' first and cheapest test.
namespace fact {
inline constexpr uint16_t win = 1 << 0, ctrl = 1 << 1, option = 1 << 2, shift = 1 << 3, commandBit = 1 << 4,
                          controlBit = 1 << 5,
                          special = 1 << 6, // the key types no character: arrows, function keys, Return, …
    overlay = 1 << 7;                       // snap assist, the snap layouts, a keyboard move or the switcher
} // namespace fact

// The kinds of front application a row can let a key pass in.
namespace frontapp {
inline constexpr uint8_t terminal = 1, finder = 2, other = 4, browser = 8;
} // namespace frontapp

// One key-down as the rows read it, worked out once. Shift, Option and the Control and Command
// bits are the fixed bits; "Win" and "Ctrl" follow the Control/Command swap.
struct KeyPress {
    int64_t key = 0;
    uint64_t flags = 0;
    bool shift = false, option = false, controlBit = false, commandBit = false;
    bool win = false, ctrl = false;
    bool repeat = false;
    bool closed = false, capturing = false; // the switcher's phase
    const InputRoutingState::Snapshot* snap = nullptr;
    const KeyLayoutTable* layout = nullptr;
    // What the key gives with Command held, unshifted, on the user's layout; 0 for none. Rows that
    // name a letter or a symbol decide by it; rows that name other keys by the key code.
    char32_t letter = 0;
    uint16_t facts = 0; // `fact` bits

    static KeyPress of(const TapEvent& event, const InputRoutingState::Snapshot& snap,
                       const KeyLayoutTable& layout, bool swapCtrlCmd);
    // Shift as a posted shortcut keeps it.
    uint64_t heldShift() const { return shift ? flag::shift : 0; }
    // The software Ctrl rows: the Control bit without Command and Option.
    bool controlOnly() const { return controlBit && !commandBit && !option; }
    // A plain Win+key: Win held, Ctrl, Option and Shift not.
    bool plainWin() const { return win && !option && !ctrl && !shift; }
};

// What a row answers. `next` lets the following rows decide; `noKey` says that no key of the
// layout gives the letter the row would post, so the shortcut is performed through the front
// application's menu item for it (or, without one, the key goes on as typed).
enum class RowAnswer { next, pass, swallow, swallowAndHint, noKey };

// A row's hint, shown when it answers `swallowAndHint`: the Mac's way, and the Windows keys as
// the row's name spells them unless `keys` says otherwise. A row that does something else in
// Finder says there what Finder's way is. In the texts, "%L" stands for the key's letter as its
// keycap shows it.
struct RowHint {
    std::u16string_view mac;
    std::u16string_view keys = {};
    std::u16string_view macInFinder = {};
    bool empty() const { return mac.empty(); }
};

// One row of the key-down table: the facts one of which a key-down must have for the row to be
// tried at all (0: every key-down), when it applies, what it does, its hint, the preference it
// sits behind (gated as the preference's declaration says; none for rows that are always on),
// its catalogue text, the front applications in which it lets the key go on to the following rows, and
// whether it is tried while the switcher is open (most rows are not).
struct KeyRow {
    std::string_view name;
    uint16_t needs = 0;
    bool (*when)(const KeyPress&) = nullptr;
    RowAnswer (*does)(KeyActions&, const KeyPress&) = nullptr;
    RowHint hint = {};
    std::optional<PrefKey> pref = std::nullopt;
    // How the settings window lists the shortcut: on one row of each shortcut switch.
    CatalogueText catalogue = {};
    uint8_t passesIn = 0; // `frontapp` bits
    bool inSwitcher = false;

    // The hint's texts for a key-down, with the Mac's way in Finder when `inFinder`.
    Hint renderHint(const KeyPress& press, bool inFinder) const;
};

// The key-down table, in the order the rows are tried.
std::span<const KeyRow> keyRows();
// Every shortcut switch's catalogue text, declared with what carries the shortcut out: the rows of
// the key-down table, Finder's keys, and the shortcuts no key-down row decides.
std::vector<ListedShortcut> listedShortcuts();

// The first row that applies, is switched on and answers decides; without one the key passes.
TapAnswer runKeyRows(KeyActions& actions, const KeyPress& press, const Prefs& prefs);

} // namespace fenwold

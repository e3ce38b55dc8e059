#include "KeyRows.h"

#include "core/hints/HintHUD.h"
#include "core/input/EditingKeys.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/KeyActions.h"
#include "core/input/Keys.h"
#include "core/settings/Prefs.h"

#include <string_view>

namespace fenwold {

namespace {

using K = const KeyPress&;
using A = KeyActions&;
using R = RowAnswer;

constexpr bool isArrow(int64_t key) {
    return key >= kLeft && key <= kUp;
}
constexpr bool isHomeOrEnd(int64_t key) {
    return key == kHome || key == kEnd;
}
constexpr bool isAnyOf(char32_t letter, std::u32string_view letters) {
    return letter != 0 && letters.find(letter) != std::u32string_view::npos;
}
// The plus and minus keys, wherever the layout puts them, and the number row's or keypad's zero.
bool isZoomKey(K k) {
    return k.letter == U'+' || k.layout->character(k.key, true) == U'+' || k.letter == U'-' || k.key == k0 ||
           k.key == kKeypad0;
}
// Ctrl+Insert, Shift+Insert and Shift+Delete: no Option, no Win.
constexpr bool insertKey(K k, int64_t key, bool shift, bool ctrl) {
    return !k.option && !k.win && k.key == key && k.shift == shift && k.ctrl == ctrl;
}

// Who a row is tried for: chords of Win, of Ctrl, of Option, of the fixed Control bit or of the
// Command bit, keys that type no character, and the keys of an overlay that owns the keyboard.
constexpr uint16_t kWin = fact::win, kCtrl = fact::ctrl, kOptionHeld = fact::option,
                   kControlBit = fact::controlBit, kCommandBit = fact::commandBit, kSpecial = fact::special,
                   kOverlay = fact::overlay;
// Where rows let the key go on: terminals keep their keys for the programs running in them.
constexpr uint8_t kTerminals = frontapp::terminal, kFinder = frontapp::finder;

// Ctrl (either Control key, or Command under the swap) alone, without Win, Option or Shift.
constexpr bool ctrlOnly(K k) {
    return k.ctrl && !k.win && !k.option && !k.shift;
}
// Option alone.
constexpr bool optionOnly(K k) {
    return k.option && !k.win && !k.ctrl && !k.shift;
}
// A function key on its own (Shift allowed where the row says so).
constexpr bool plainKey(K k, int64_t key) {
    return k.key == key && !k.win && !k.ctrl && !k.option;
}
// Win with Shift and no other modifier.
constexpr bool winShift(K k) {
    return k.win && k.shift && !k.option && !k.ctrl;
}
// Win with Ctrl and no other modifier.
constexpr bool winCtrl(K k) {
    return k.win && k.ctrl && !k.option && !k.shift;
}
using Pane = FenwoldKeys::SettingsPane;

// Each row: its name; who it is tried for; when it applies; what it does; its hint; the
// preference it sits behind; where it lets the key go on; whether it is tried while the switcher
// is open. Tried in this order; the first row that applies, is switched on and answers decides.
// Rows with a letter or a symbol decide by what the key gives on the user's layout; the others by
// key code.
constexpr KeyRow kRows[] = {
    // The overlays that own the keyboard while they show, and the master switch. Snap assist and
    // the snap layouts take the keys typed without Command, Control or Option; chords close snap
    // assist and go on to their rows (the one that opened the snap layouts closes them again).
    {"Snap assist", kOverlay, [](K k) { return k.snap->snapAssistOpen; },
     [](A a, K k) { return a.snapAssistKey(k); }},
    {"Snap layouts", kOverlay,
     [](K k) { return k.snap->snapLayoutsOpen && !k.commandBit && !k.controlBit && !k.option; },
     [](A a, K k) { return a.snapLayoutsKey(k); }},
    {.name = "Keyboard window move",
     .needs = kOverlay,
     .when = [](K k) { return k.snap->moveTarget.has_value(); },
     .does = [](A a, K k) { return a.windowMoveKey(k); },
     .inSwitcher = true},
    {"⌘Esc", kCommandBit,
     [](K k) { return k.key == kEsc && k.commandBit && !k.controlBit && !k.option && !k.shift; },
     [](A a, K) { return a.toggleMasterSwitch(); }},
    // In an excluded application (a virtual machine, a remote desktop) every row below passes,
    // Alt+Tab included, so the guest gets the real keys. Overlays and a switcher session that
    // began elsewhere keep theirs until they close.
    {"Excluded application", 0, [](K) { return true; }, [](A a, K) { return a.passInExcludedApp(); }},

    {"Alt+Space",
     kOptionHeld,
     [](K k) { return k.key == kSpace && k.option && !k.commandBit && !k.controlBit; },
     [](A a, K) { return a.openWindowMenu(); },
     {u"~no ~native ~equivalent"},
     PrefKey::altSpace},
    // The screenshot keys act in the switcher too: Alt+PrtScn takes its selected window.
    {.name = "Shift+PrtScn",
     .needs = kSpecial,
     .when = [](K k) { return k.key == kF13 && k.shift; },
     .does = [](A a, K) { return a.open("/System/Applications/Utilities/Screenshot.app"); },
     .hint = {u"⇧ ⌘ 5"},
     .pref = PrefKey::screenshotKeys,
     .inSwitcher = true},
    {.name = "Alt+PrtScn",
     .needs = kSpecial,
     .when = [](K k) { return k.key == kF13 && k.option; },
     .does = [](A a, K) { return a.screenshot(true); },
     .hint = {u"⇧ ⌘ 4 ~then Space"},
     .pref = PrefKey::screenshotKeys,
     .inSwitcher = true},
    {.name = "PrtScn",
     .needs = kSpecial,
     .when = [](K k) { return k.key == kF13; },
     .does = [](A a, K) { return a.screenshot(false); },
     .hint = {u"⇧ ⌘ 3 ~— ~add ⌃ ~for ~the ~clipboard"},
     .pref = PrefKey::screenshotKeys,
     .inSwitcher = true},
    {"Win+Shift+S",
     kWin,
     [](K k) { return winShift(k) && k.letter == U's'; },
     [](A a, K) { return a.open("/System/Applications/Utilities/Screenshot.app"); },
     {u"⇧ ⌘ 5"},
     PrefKey::winShiftS},

    // Windows across displays and Spaces, then the Win+arrow snaps.
    {"Win+Shift+← / →",
     kWin,
     [](K k) { return winShift(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.moveToDisplay(k); },
     {u"~the ~Window ~menu’s ~“Move ~to” ~item"},
     PrefKey::snapDisplays},
    {"Win+Ctrl+← / →",
     kWin,
     [](K k) { return winCtrl(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.win(k, [right = k.key == kRight](FenwoldKeys& w) { w.switchSpace(right); }); },
     {u"⌃ ← ~and ⌃ → ~switch ~Spaces"},
     PrefKey::winCtrlArrows},
    // Win+Shift+← and → are the display moves above: switched off, they pass.
    {"Win+arrows",
     kWin,
     [](K k) {
         return k.win && !k.option && !k.ctrl && isArrow(k.key) &&
                !(k.shift && (k.key == kLeft || k.key == kRight));
     },
     [](A a, K k) { return a.snap(k); },
     {},
     PrefKey::snapKeys},

    {"Shift+Delete",
     kSpecial,
     [](K k) { return insertKey(k, kFwdDelete, true, false); },
     [](A a, K k) { return a.clipboardKey(U'x', k); },
     {u"⌘ X"},
     PrefKey::insertClipboard},
    {"Shift+Insert",
     kSpecial,
     [](K k) { return insertKey(k, kInsert, true, false); },
     [](A a, K k) { return a.clipboardKey(U'v', k); },
     {u"⌘ V"},
     PrefKey::insertClipboard},
    {"Ctrl+Insert",
     kSpecial,
     [](K k) { return insertKey(k, kInsert, false, true); },
     [](A a, K k) { return a.clipboardKey(U'c', k); },
     {u"⌘ C"},
     PrefKey::insertClipboard},
    {"Ctrl+Alt+Delete",
     kSpecial,
     [](K k) { return k.key == kFwdDelete && k.ctrl && k.option && !k.win; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.forceQuit(); }); },
     {u"⌥ ⌘ Esc ~for ~Force ~Quit"},
     PrefKey::ctrlAltDelete},
    // Finder's own keys (each with its preference, hint and catalogue text there).
    {"Finder keys", kWin | kCtrl | kOptionHeld | kControlBit | kCommandBit | kSpecial, [](K) { return true; },
     [](A a, K k) { return a.finderKey(k); }},

    {"Ctrl+Home / End",
     kSpecial,
     [](K k) { return isHomeOrEnd(k.key) && !k.win && k.ctrl; },
     [](A a, K k) { return a.post(k.key == kHome ? kUp : kDown, flag::command | k.heldShift()); },
     {u"⌘ ↑ ~and ⌘ ↓ ~for ~the ~document"},
     PrefKey::homeEnd},
    {"Home",
     kSpecial,
     [](K k) { return k.key == kHome && !k.win && !k.ctrl; },
     [](A a, K k) { return a.post(kLeft, flag::command | k.heldShift()); },
     {u"⌘ ←"},
     PrefKey::homeEnd},
    {"End",
     kSpecial,
     [](K k) { return k.key == kEnd && !k.win && !k.ctrl; },
     [](A a, K k) { return a.post(kRight, flag::command | k.heldShift()); },
     {u"⌘ →"},
     PrefKey::homeEnd},

    // Plain Win+key actions; a held key acts once.
    {"Win+1…9",
     kWin,
     [](K k) { return k.plainWin() && digitOfKey(k.key).has_value(); },
     [](A a, K k) { return a.win(k, [n = *digitOfKey(k.key)](FenwoldKeys& w) { w.openDockApp(n); }); },
     {u"~no ~native ~equivalent"},
     PrefKey::winNum},
    {"Win+D",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'd'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showDesktop(); }); },
     {u"fn F11"},
     PrefKey::winD},
    {"Win+V",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'v'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.toggleShelf(); }); },
     {},
     PrefKey::winV},
    {"Win+E",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'e'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openHomeFolder(); }); },
     {u"⌘ N ~in ~Finder"},
     PrefKey::winE},
    {"Win+R",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'r'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openLauncher(); }); },
     {},
     PrefKey::winR},
    {"Win+L",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'l'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.lockScreen(); }); },
     {},
     PrefKey::winL},
    {"Win+M",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'm'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.minimizeAll(false); }); },
     {u"⌥ ⌘ M"},
     PrefKey::winM},
    {"Win+Tab",
     kWin,
     [](K k) { return k.plainWin() && k.key == kTab; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openMissionControl(); }); },
     {u"⌃ ↑ ~Mission ~Control"},
     PrefKey::winTab},
    {"Win+Home",
     kWin,
     [](K k) { return k.plainWin() && k.key == kHome; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.minimizeAll(true); }); },
     {u"~no ~native ~equivalent"},
     PrefKey::winM},
    {"Win+Z",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'z'; },
     [](A a, K k) { return a.snapLayouts(k); },
     {u"~rest ~the ~pointer ~on ~the ~green ~button"},
     PrefKey::winZ},
    {"Win+S",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U's'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSpotlight(); }); },
     {u"⌘ Space ~for ~Spotlight"},
     PrefKey::winS},
    {"Win+. / Win+;",
     kWin,
     [](K k) { return k.plainWin() && isAnyOf(k.letter, U".;"); },
     [](A a, K k) { return k.repeat ? R::swallow : a.post(kSpace, flag::control | flag::command); },
     {u"⌃ ⌘ Space ~— ~or 🌐 E", u"Win+%L"},
     PrefKey::winEmoji},
    {"Win+I",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'i'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::start); }); },
     {u"~the ~Apple ~menu’s ~System ~Settings…"},
     PrefKey::winI},
    {"Win+A",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'a'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openControlCentre(); }); },
     {u"~Control ~Centre ~in ~the ~menu ~bar"},
     PrefKey::winA},
    {"Win+N",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'n'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openNotificationCentre(); }); },
     {u"~click ~the ~clock ~in ~the ~menu ~bar"},
     PrefKey::winN},
    {"Win+P",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'p'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::displays); }); },
     {u"~System ~Settings ~› ~Displays"},
     PrefKey::winP},
    {"Win+Pause",
     kWin,
     [](K k) { return k.plainWin() && k.key == kPause; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::about); }); },
     {u"~the ~Apple ~menu’s ~About ~This ~Mac"},
     PrefKey::winPause},
    {"Win+X",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'x'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showQuickLinks(); }); },
     {u"~the ~Apple ~menu ~holds ~most ~of ~these"},
     PrefKey::winX},
    {"Win+Ctrl+D",
     kWin,
     [](K k) { return winCtrl(k) && k.letter == U'd'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openMissionControl(); }); },
     {u"⌃ ↑ ~— ~the ~+ ~at ~the ~top ~adds ~a ~desktop"},
     PrefKey::winCtrlD},

    // Alt+F4 closes or quits; its autorepeats do nothing. Ctrl+F4 closes the tab.
    {"Alt+F4 held",
     kSpecial,
     [](K k) { return k.key == kF4 && k.option && k.repeat; },
     [](A, K) { return R::swallow; },
     {},
     PrefKey::altF4},
    {"Alt+F4",
     kSpecial,
     [](K k) { return k.key == kF4 && k.option; },
     [](A a, K k) { return a.altF4(k); },
     {},
     PrefKey::altF4},
    {"Ctrl+F4",
     kSpecial,
     [](K k) { return k.key == kF4 && !k.option && (k.controlBit || k.commandBit); },
     [](A a, K k) { return a.postLetter(U'w', flag::command, k); },
     {u"⌘ W"},
     PrefKey::ctrlF4},

    // Back, forward and the address bar with Alt. In Finder ⌘L would make an alias: Alt+D goes to
    // a folder there, as typing into Explorer's address bar does.
    {"Alt+← / →",
     kOptionHeld,
     [](K k) { return optionOnly(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.postLetter(k.key == kLeft ? U'[' : U']', flag::command, k); },
     {u"⌘ [ ~and ⌘ ] ~go ~back ~and ~forward"},
     PrefKey::altBackForward,
     kTerminals},
    {"Alt+D",
     kOptionHeld,
     [](K k) { return optionOnly(k) && k.letter == U'd'; },
     [](A a, K k) {
         return a.inFinder() ? a.postLetter(U'g', flag::command | flag::shift, k)
                             : a.postLetter(U'l', flag::command, k);
     },
     {u"⌘ L", {}, u"⇧ ⌘ G ~goes ~to ~a ~folder"},
     PrefKey::altD,
     kTerminals},

    // Control letters become Command letters, except in terminals, where they keep their meaning.
    {"Ctrl+A",
     kControlBit,
     [](K k) { return k.controlOnly() && k.letter == U'a'; },
     [](A a, K k) { return a.controlLetter(k); },
     {u"⌘ %L"},
     PrefKey::ctrlSelectAll},
    {"Ctrl+X C V",
     kControlBit,
     [](K k) { return k.controlOnly() && isAnyOf(k.letter, U"xcv"); },
     [](A a, K k) { return a.controlLetter(k); },
     {u"⌘ %L", u"Ctrl+%L"},
     PrefKey::ctrlClipboard},
    // Ctrl+E searches; in Finder ⌘E would eject, so it finds there. Ctrl+D, K and J are a
    // browser's; in Finder Ctrl+D trashes (a Finder key, above) and K and J pass.
    {"Ctrl+E",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && k.letter == U'e'; },
     [](A a, K k) {
         return a.inFinder() ? a.postLetter(U'f', flag::command, k) : a.post(k.key, flag::command);
     },
     {u"⌘ E", {}, u"⌘ F ~in ~Finder"},
     PrefKey::ctrlSearch,
     kTerminals},
    {"Ctrl+D K J",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && isAnyOf(k.letter, U"dkj"); },
     [](A a, K k) { return a.post(k.key, flag::command); },
     {u"⌘ %L", u"Ctrl+%L"},
     PrefKey::ctrlWebLetters,
     kTerminals | kFinder},
    {"Ctrl+1…9",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && digitOfKey(k.key).has_value(); },
     [](A a, K k) { return a.post(k.key, flag::command); },
     {u"⌘ 1…9 ~— ⌘ 9 ~is ~the ~last ~tab"},
     PrefKey::ctrlDigits,
     kTerminals},
    {"Ctrl editing letters",
     kControlBit,
     [](K k) { return k.controlOnly(); },
     [](A a, K k) { return a.editingLetter(k); },
     {},
     PrefKey::ctrlLetters},
    {"Ctrl+← / →",
     kCtrl,
     [](K k) { return (k.key == kLeft || k.key == kRight) && k.ctrl && !k.win && !k.option; },
     [](A a, K k) { return a.post(k.key, flag::option | k.heldShift()); },
     {u"⌥ ← ~and ⌥ → ~jump ~by ~word"},
     PrefKey::ctrlWord},
    {"Ctrl+↑ / ↓",
     kCtrl,
     [](K k) { return (k.key == kUp || k.key == kDown) && k.ctrl && !k.win && !k.option; },
     [](A a, K k) { return a.post(k.key, flag::option | k.heldShift()); },
     {u"⌥ ↑ ~and ⌥ ↓ ~by ~paragraph"},
     PrefKey::ctrlParagraph,
     kTerminals},
    {"Ctrl+PgDn / PgUp",
     kCtrl,
     [](K k) { return ctrlOnly(k) && (k.key == kPageDown || k.key == kPageUp); },
     [](A a, K k) { return a.post(kTab, flag::control | (k.key == kPageUp ? flag::shift : 0)); },
     {u"⌃ ⇥ ~and ⌃ ⇧ ⇥ ~switch ~tabs"},
     PrefKey::ctrlPageTabs,
     kTerminals},
    {"Ctrl+ + / − / 0",
     kControlBit,
     [](K k) { return k.controlOnly() && isZoomKey(k); },
     [](A a, K k) { return a.zoom(k); },
     {u"⌘ + ~and ⌘ − ~— ⌘ 0 ~resets", u"Ctrl+ + / −"},
     PrefKey::ctrlZoom},
    {"Ctrl+Shift+Esc",
     kSpecial,
     [](K k) { return k.key == kEsc && k.shift && (k.controlBit || k.commandBit); },
     [](A a, K) { return a.open("/System/Applications/Utilities/Activity Monitor.app"); },
     {u"⌥ ⌘ Esc ~for ~force-quit"},
     PrefKey::taskMgr},

    // The function keys' Windows meanings; terminals keep them for the programs running there.
    // Finder refreshes itself (⌘R shows an alias's original there) and its ⇧⌘G goes to a folder.
    {"F5",
     kSpecial,
     [](K k) { return plainKey(k, kF5) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'r', flag::command, k); },
     {u"⌘ R"},
     PrefKey::f5Refresh,
     kTerminals | kFinder},
    {"F3 / Shift+F3",
     kSpecial,
     [](K k) { return plainKey(k, kF3); },
     [](A a, K k) { return a.postLetter(U'g', flag::command | k.heldShift(), k); },
     {u"⌘ G ~and ⇧ ⌘ G"},
     PrefKey::f3FindNext,
     kTerminals | kFinder},
    {"F11",
     kSpecial,
     [](K k) { return plainKey(k, kF11) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'f', flag::control | flag::command, k); },
     {u"⌃ ⌘ F"},
     PrefKey::f11FullScreen,
     kTerminals},
    {"F1",
     kSpecial,
     [](K k) { return plainKey(k, kF1) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'?', flag::command, k); },
     {u"⌘ ? ~searches ~the ~Help ~menu"},
     PrefKey::f1Help,
     kTerminals},
    {"Shift+F10",
     kSpecial,
     [](K k) { return plainKey(k, kF10) && k.shift; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showContextMenu(); }); },
     {u"⌃ ~click ~or ~a ~two-finger ~click"},
     PrefKey::contextMenu,
     kTerminals},
    {"Menu key",
     kSpecial,
     [](K k) { return plainKey(k, kContextMenu); },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showContextMenu(); }); },
     {u"⌃ ~click ~or ~a ~two-finger ~click", u"Menu"},
     PrefKey::contextMenu},

    // Alt+Tab opens the switcher (even with the master switch off), and while it captures every
    // key is its own.
    {.name = "Alt+Tab",
     .needs = kOptionHeld,
     .when = [](K k) { return k.key == kTab && k.option; },
     .does = [](A a, K k) { return a.altTab(k); },
     .pref = PrefKey::altTab,
     .inSwitcher = true},
    {.name = "Anything else",
     .when = [](K k) { return !k.capturing; },
     .does = [](A, K) { return R::pass; },
     .inSwitcher = true},
    {.name = "Esc in the switcher",
     .when = [](K k) { return k.key == kEsc; },
     .does = [](A a, K k) { return a.cancelSwitcher(k); },
     .inSwitcher = true},
    {.name = "Keys in the switcher",
     .when = [](K) { return true; },
     .does = [](A a, K k) { return a.switcherKey(k); },
     .inSwitcher = true},
};

} // namespace

std::span<const KeyRow> keyRows() {
    return kRows;
}

KeyPress KeyPress::of(const TapEvent& event, const InputRoutingState::Snapshot& snap,
                      const KeyLayoutTable& layout, bool swapCtrlCmd) {
    KeyPress k;
    k.key = event.keyCode;
    k.flags = event.flags;
    k.shift = event.flags & flag::shift;
    k.option = event.flags & flag::option;
    k.controlBit = event.flags & flag::control;
    k.commandBit = event.flags & flag::command;
    k.win = event.flags & winMask(swapCtrlCmd);
    k.ctrl = event.flags & ctrlMask(swapCtrlCmd);
    k.repeat = event.autorepeat != 0;
    k.closed = snap.switcherPhase.isClosed();
    k.capturing = snap.switcherPhase.kind == SwitcherPhase::Kind::capturing;
    k.snap = &snap;
    k.layout = &layout;
    k.letter = layout.character(event.keyCode, false);
    k.facts = static_cast<uint16_t>(
        (k.win ? fact::win : 0) | (k.ctrl ? fact::ctrl : 0) | (k.option ? fact::option : 0) |
        (k.shift ? fact::shift : 0) | (k.commandBit ? fact::commandBit : 0) |
        (k.controlBit ? fact::controlBit : 0) | (k.letter == 0 ? fact::special : 0) |
        (!k.closed || snap.snapAssistOpen || snap.snapLayoutsOpen || snap.moveTarget ? fact::overlay : 0));
    return k;
}

Hint KeyRow::renderHint(const KeyPress& press, bool inFinder) const {
    const auto text = [&](std::u16string_view t) {
        const auto view = [](std::u16string_view part) {
            return QStringView(part.data(), static_cast<qsizetype>(part.size()));
        };
        const std::size_t at = t.find(u"%L");
        // The texts are literals, used in place unless the letter goes in.
        if (at == std::u16string_view::npos)
            return QString::fromRawData(reinterpret_cast<const QChar*>(t.data()),
                                        static_cast<qsizetype>(t.size()));
        QString s;
        s.reserve(static_cast<qsizetype>(t.size()));
        s.append(view(t.substr(0, at))).append(keycap(press.letter)).append(view(t.substr(at + 2)));
        return s;
    };
    const QString keys = hint.keys.empty()
                             ? QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
                             : text(hint.keys);
    return {keys, text(inFinder && !hint.macInFinder.empty() ? hint.macInFinder : hint.mac), std::nullopt};
}

TapAnswer runKeyRows(std::span<const KeyRow> rows, KeyActions& actions, const KeyPress& press,
                     const Prefs& prefs) {
    actions.newKeyDown();
    for (const KeyRow& row : rows) {
        if (row.needs && !(press.facts & row.needs)) continue;
        if (!press.closed && !row.inSwitcher) continue;
        if (!row.when(press) || (row.pref && !prefs.on(*row.pref))) continue;
        // The kind of application in front is asked once, and only when a row needs it.
        if (row.passesIn && (row.passesIn & actions.frontApp())) continue;
        switch (row.does(actions, press)) {
        case RowAnswer::next:
            continue;
        case RowAnswer::pass:
            return TapAnswer::pass;
        case RowAnswer::noKey:
            actions.reportNoKey(row.name, press);
            return TapAnswer::pass;
        case RowAnswer::swallowAndHint:
            if (!row.hint.empty()) actions.hint(row, press);
            return TapAnswer::swallow;
        case RowAnswer::swallow:
            return TapAnswer::swallow;
        }
    }
    return TapAnswer::pass;
}

} // namespace fenwold

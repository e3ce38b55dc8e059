#include "KeyRows.h"

#include "core/hints/HintHUD.h"
#include "core/input/EditingKeys.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/FinderKeys.h"
#include "core/input/KeyActions.h"
#include "core/input/Keys.h"
#include "core/settings/Prefs.h"

#include <array>
#include <bit>
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
constexpr uint16_t kAnyFact =
    kWin | kCtrl | kOptionHeld | fact::shift | kControlBit | kCommandBit | kSpecial | kOverlay;
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
using S = CatalogueSection;

// Each row: its name; who it is tried for; when it applies; what it does; its hint; the
// preference it sits behind and, on one row of each, the settings window's text for it; where it
// lets the key go on; whether it is tried while the switcher is open. Tried in this order; the first row that
// applies, is switched on and answers decides. Rows with a letter or a symbol decide by what the key gives on
// the user's layout; the others by key code.
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
    // began elsewhere keep theirs until they close. A key without facts meets no row below that
    // acts outside the switcher, so it passes without asking for the front application.
    {"Excluded application", kAnyFact, [](K) { return true; }, [](A a, K) { return a.passInExcludedApp(); }},

    {"Alt+Space",
     kOptionHeld,
     [](K k) { return k.key == kSpace && k.option && !k.commandBit && !k.controlBit; },
     [](A a, K) { return a.openWindowMenu(); },
     {u"~no ~native ~equivalent"},
     PrefKey::altSpace,
     {S::alt, u"Alt+Space", u"Window menu",
      u"Restore, Move, Minimize, Maximize, and Close for the current window. Move lets "
      u"the arrow keys reposition it. Replaces typing a non-breaking space."}},
    // The screenshot keys act in the switcher too: Alt+PrtScn takes its selected window.
    {.name = "Shift+PrtScn",
     .needs = kSpecial,
     .when = [](K k) { return k.key == kF13 && k.shift; },
     .does = [](A a, K) { return a.open("/System/Applications/Utilities/Screenshot.app"); },
     .hint = {u"⇧ ⌘ 5"},
     .pref = PrefKey::screenshotKeys,
     .catalogue =
         {S::screenAndMouse, u"PrtScn · Alt+PrtScn · Shift+PrtScn", u"Screenshots",
          u"PrtScn (F13 on the Mac side) copies the full screen to the clipboard; Alt+PrtScn copies "
          u"just the current window, without its shadow — exactly like on Windows. Shift+PrtScn opens "
          u"the Screenshot app's capture bar, like Win+Shift+S."},
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
     PrefKey::winShiftS,
     {S::windowsSystem, u"Win+Shift+S", u"Screenshot toolbar",
      u"Opens the Screenshot toolbar (⇧⌘5): a region, a window or the whole screen, to "
      u"a file or the clipboard. Hides ⇧⌘S, which is Save As or Duplicate in many "
      u"apps."}},

    // Windows across displays and Spaces, then the Win+arrow snaps.
    {"Win+Shift+← / →",
     kWin,
     [](K k) { return winShift(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.moveToDisplay(k); },
     {u"~the ~Window ~menu’s ~“Move ~to” ~item"},
     PrefKey::snapDisplays,
     {S::windowsKey, u"Win+Shift+← →", u"Move to another display",
      u"Moves the front window to the display on that side, round to the first after the "
      u"last, like on Windows. A snapped or maximized window keeps its half, quarter or "
      u"size there; any other keeps its size and place. With one display nothing "
      u"happens. Hides ⇧⌘← and ⇧⌘→, which select to the ends of a line."}},
    {"Win+Ctrl+← / →",
     kWin,
     [](K k) { return winCtrl(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.win(k, [right = k.key == kRight](FenwoldKeys& w) { w.switchSpace(right); }); },
     {u"⌃ ← ~and ⌃ → ~switch ~Spaces"},
     PrefKey::winCtrlArrows,
     {S::windowsKey, u"Win+Ctrl+← →", u"Switch desktops",
      u"Moves to the Space (desktop) on the left or right, as ⌃← and ⌃→ do on a Mac. "
      u"Hides ⌃⌘← and ⌃⌘→, which few apps use."}},
    // Win+Shift+← and → are the display moves above: switched off, they pass.
    {"Win+arrows",
     kWin,
     [](K k) {
         return k.win && !k.option && !k.ctrl && isArrow(k.key) &&
                !(k.shift && (k.key == kLeft || k.key == kRight));
     },
     [](A a, K k) { return a.snap(k); },
     {},
     PrefKey::snapKeys,
     {S::windowsKey, u"Win+← → ↑ ↓", u"Snap, maximize, minimize",
      u"Win+← and Win+→ snap the front window to half the screen, Win+↑ maximizes, "
      u"Win+↓ minimizes — like on Windows. ⇧Win+↑ toggles real full screen; split view "
      u"is in the window menu (Alt+Space). Hides ⌘← ⌘→ ⌘↑ ⌘↓, which go to the ends of "
      u"a line or a document in Mac text."}},

    {"Shift+Delete",
     kSpecial,
     [](K k) { return insertKey(k, kFwdDelete, true, false); },
     [](A a, K k) { return a.clipboardKey(U'x', k); },
     {u"⌘ X"},
     PrefKey::insertClipboard,
     {S::ctrl, u"Ctrl+Insert · Shift+Insert · Shift+Delete", u"Copy, paste, cut",
      u"The Linux and old-Windows clipboard keys — sends ⌘C, ⌘V and ⌘X. Works in "
      u"terminals too, where Ctrl+C must stay an interrupt. In Finder, Shift+Delete "
      u"then Shift+Insert moves files when the Finder row is on."}},
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
     PrefKey::ctrlAltDelete,
     {S::ctrl, u"Ctrl+Alt+Delete", u"Force Quit",
      u"Opens the Force Quit Applications window (⌥⌘Esc), the Mac's way out of an app "
      u"that stopped answering."}},
    // Finder's own keys (each with its preference, hint and catalogue text there).
    {"Finder keys", kWin | kCtrl | kOptionHeld | kControlBit | kCommandBit | kSpecial, [](K) { return true; },
     [](A a, K k) { return a.finderKey(k); }},

    {"Ctrl+Home / End",
     kSpecial,
     [](K k) { return isHomeOrEnd(k.key) && !k.win && k.ctrl; },
     [](A a, K k) { return a.post(k.key == kHome ? kUp : kDown, flag::command | k.heldShift()); },
     {u"⌘ ↑ ~and ⌘ ↓ ~for ~the ~document"},
     PrefKey::homeEnd,
     {S::ctrl, u"Home · End · Ctrl+Home End", u"Line and document ends",
      u"Home and End go to line start and end, Ctrl+Home and Ctrl+End to the start and "
      u"end of the document; add ⇧ to select. Replaces the Mac behavior of scrolling "
      u"without moving the cursor."}},
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
     PrefKey::winNum,
     {S::windowsKey, u"Win+1…9", u"Open Dock apps",
      u"Activates the Nth pinned app in the Dock, launching it if needed. Hides ⌘1–⌘9, "
      u"which switch tabs in browsers and many other apps."}},
    {"Win+D",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'd'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showDesktop(); }); },
     {u"fn F11"},
     PrefKey::winD,
     {S::windowsKey, u"Win+D", u"Show the desktop",
      u"Press again to restore your windows. Hides ⌘D, which bookmarks the page in "
      u"browsers and duplicates files in Finder."}},
    {"Win+V",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'v'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.toggleShelf(); }); },
     {},
     PrefKey::winV,
     {S::windowsKey, u"Win+V", u"Clipboard shelf",
      u"Collects text, images, links, and code while enabled. Win+V slides out a "
      u"searchable shelf: arrows browse, Return pastes, Shift+Return pastes plain "
      u"text, Space previews, and ⌘P pins. Recent clips stay in memory (up to 100); "
      u"only pinned clips are saved on this Mac. Password-manager and confidential "
      u"copies are skipped. Pause capture or clear recent clips in the shelf’s menu. "
      u"Without Ctrl/⌘ swap, this replaces ⌘V — enable Ctrl+V for ordinary paste."}},
    {"Win+E",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'e'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openHomeFolder(); }); },
     {u"⌘ N ~in ~Finder"},
     PrefKey::winE,
     {S::windowsKey, u"Win+E", u"Open a file window",
      u"A new Finder window at your home folder, like Explorer. Hides ⌘E, which most "
      u"apps use for \"use selection for find\"."}},
    {"Win+R",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'r'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openLauncher(); }); },
     {},
     PrefKey::winR,
     {S::windowsKey, u"Win+R", u"Launch apps with Spotlight",
      u"Opens Spotlight’s Applications view so you can browse or type an app name and "
      u"press Return to launch it. Uses Launchpad before macOS 26. Without Ctrl/⌘ "
      u"swap, this replaces ⌘R (Reload)."}},
    {"Win+L",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'l'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.lockScreen(); }); },
     {},
     PrefKey::winL,
     {S::windowsKey, u"Win+L", u"Lock the screen", u"Hides ⌘L, which focuses the address bar in browsers."}},
    {"Win+M",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'm'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.minimizeAll(false); }); },
     {u"⌥ ⌘ M"},
     PrefKey::winM,
     {S::windowsKey, u"Win+M · Win+Home", u"Minimize all windows",
      u"Win+M minimizes everything; Win+Home minimizes everything except the current "
      u"window. Hides ⌘M, which minimizes just the current window on a Mac."}},
    {"Win+Tab",
     kWin,
     [](K k) { return k.plainWin() && k.key == kTab; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openMissionControl(); }); },
     {u"⌃ ↑ ~Mission ~Control"},
     PrefKey::winTab,
     {S::windowsKey, u"Win+Tab", u"Task View",
      u"Shows Mission Control. Hides ⌘Tab, the macOS app switcher (the ⌥Tab switcher "
      u"covers that job)."}},
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
     PrefKey::winZ,
     {S::windowsKey, u"Win+Z", u"Snap layouts",
      u"Shows the layouts of the front window's display — halves, thirds, two-thirds "
      u"beside a third, quarters. Press a layout's digit and then a zone's, or use the "
      u"arrows and Return, or click a zone; snap assist then fills the other zones. Esc "
      u"closes it. Hides ⌘Z, which undoes — Ctrl+Z does that too."}},
    {"Win+S",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U's'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSpotlight(); }); },
     {u"⌘ Space ~for ~Spotlight"},
     PrefKey::winS,
     {S::windowsSystem, u"Win+S", u"Search",
      u"Opens Spotlight (⌘Space). Hides ⌘S, which saves — Ctrl+S does that too."}},
    {"Win+. / Win+;",
     kWin,
     [](K k) { return k.plainWin() && isAnyOf(k.letter, U".;"); },
     [](A a, K k) { return k.repeat ? R::swallow : a.post(kSpace, flag::control | flag::command); },
     {u"⌃ ⌘ Space ~— ~or 🌐 E", u"Win+%L"},
     PrefKey::winEmoji,
     {S::windowsSystem, u"Win+. · Win+;", u"Emoji and symbols",
      u"Opens the Character Viewer (⌃⌘Space) at the text cursor. Hides ⌘., which "
      u"cancels in dialogs and stops a running command in terminals, and ⌘;, which "
      u"finds misspelled words."}},
    // Under the swap the Windows key sends Control: Win+Space is then the Mac's own ⌃Space, which
    // selects the previous source; the row makes it the next one, as on Windows.
    {"Win+Space",
     kWin,
     [](K k) { return k.win && !k.option && !k.ctrl && k.key == kSpace; },
     [](A a, K k) { return a.nextInputSource(k); },
     {u"⌃ ⌥ Space ~next, ⌃ Space ~previous ~source"},
     PrefKey::winSpace,
     {S::windowsSystem, u"Win+Space", u"Next keyboard layout",
      u"Switches to the next input source (keyboard layout), as Windows does; ⇧Win+Space goes "
      u"back. The Mac's own keys are ⌃⌥Space for the next source and ⌃Space for the previous "
      u"one. Hides ⌘Space, Spotlight — Win alone and Win+S open Spotlight instead; with Ctrl "
      u"and Command swapped, ⌃Space, the Mac's previous source."}},
    {"Win+I",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'i'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::start); }); },
     {u"~the ~Apple ~menu’s ~System ~Settings…"},
     PrefKey::winI,
     {S::windowsSystem, u"Win+I", u"Settings",
      u"Opens System Settings. Hides ⌘I, which italicizes text and shows Get Info in "
      u"Finder."}},
    {"Win+A",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'a'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openControlCentre(); }); },
     {u"~Control ~Centre ~in ~the ~menu ~bar"},
     PrefKey::winA,
     {S::windowsSystem, u"Win+A", u"Quick settings",
      u"Opens Control Centre in the menu bar: Wi-Fi, Bluetooth, sound, brightness. Hides "
      u"⌘A, which selects all — Ctrl+A does that too."}},
    {"Win+N",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'n'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openNotificationCentre(); }); },
     {u"~click ~the ~clock ~in ~the ~menu ~bar"},
     PrefKey::winN,
     {S::windowsSystem, u"Win+N", u"Notifications",
      u"Opens Notification Centre, as a click on the menu bar's clock does. Hides ⌘N, "
      u"which opens a new window or document — Ctrl+N does that too."}},
    {"Win+P",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'p'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::displays); }); },
     {u"~System ~Settings ~› ~Displays"},
     PrefKey::winP,
     {S::windowsSystem, u"Win+P", u"Display settings",
      u"Opens System Settings at Displays, where a Mac mirrors and arranges its "
      u"displays. Hides ⌘P, which prints — Ctrl+P does that too."}},
    {"Win+Pause",
     kWin,
     [](K k) { return k.plainWin() && k.key == kPause; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openSettings(Pane::about); }); },
     {u"~the ~Apple ~menu’s ~About ~This ~Mac"},
     PrefKey::winPause,
     {S::windowsSystem, u"Win+Pause", u"About This Mac",
      u"Opens About in System Settings: the Mac's model, chip, memory and macOS version. "
      u"A PC keyboard's Pause key arrives as F15; ⌘F15 does nothing on a Mac."}},
    {"Win+X",
     kWin,
     [](K k) { return k.plainWin() && k.letter == U'x'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showQuickLinks(); }); },
     {u"~the ~Apple ~menu ~holds ~most ~of ~these"},
     PrefKey::winX,
     {S::windowsSystem, u"Win+X", u"Quick link menu",
      u"A menu at the pointer: Activity Monitor, Terminal, Disk Utility, System Settings, "
      u"Finder, Force Quit, Lock Screen, Log Out…, Sleep, Restart… and Shut Down…. "
      u"Arrows, Return, Esc and the underlined letters work; Log Out, Restart and Shut "
      u"Down ask first, as in the Apple menu. Hides ⌘X, which cuts — Ctrl+X does that "
      u"too."}},
    {"Win+Ctrl+D",
     kWin,
     [](K k) { return winCtrl(k) && k.letter == U'd'; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.openMissionControl(); }); },
     {u"⌃ ↑ ~— ~the ~+ ~at ~the ~top ~adds ~a ~desktop"},
     PrefKey::winCtrlD,
     {S::windowsKey, u"Win+Ctrl+D", u"Mission Control, to add a desktop",
      u"Only opens Mission Control; it does not add the desktop itself. Click the + at the "
      u"top right of Mission Control to add one. Hides ⌃⌘D, which looks up the word under "
      u"the pointer."}},

    // The Mac's own ⌘X, ⌘C and ⌘V (Win and the letter, with no row taking it) end a pending
    // Finder cut: they change or use what the pasteboard holds. The key goes on.
    {"⌘X C V",
     kCommandBit,
     [](K k) { return k.commandBit && !k.controlBit && !k.option && isAnyOf(k.letter, U"xcv"); },
     [](A a, K k) { return a.macClipboardKey(k); },
     {},
     PrefKey::finderCut},

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
     PrefKey::altF4,
     {S::alt, u"Alt+F4", u"Close or quit…", u"Choose whether Alt+F4 closes a window or quits the app."}},
    {"Ctrl+F4",
     kSpecial,
     [](K k) { return k.key == kF4 && !k.option && (k.controlBit || k.commandBit); },
     [](A a, K k) { return a.postLetter(U'w', flag::command, k); },
     {u"⌘ W"},
     PrefKey::ctrlF4,
     {S::ctrl, u"Ctrl+F4", u"Close the tab or document",
      u"Sends ⌘W, the Mac close-tab/close-window shortcut — like Ctrl+F4 closing the "
      u"current document or tab on Windows."}},

    // Back, forward and the address bar with Alt. In Finder ⌘L would make an alias: Alt+D goes to
    // a folder there, as typing into Explorer's address bar does.
    {"Alt+← / →",
     kOptionHeld,
     [](K k) { return optionOnly(k) && (k.key == kLeft || k.key == kRight); },
     [](A a, K k) { return a.postLetter(k.key == kLeft ? U'[' : U']', flag::command, k); },
     {u"⌘ [ ~and ⌘ ] ~go ~back ~and ~forward"},
     PrefKey::altBackForward,
     {S::alt, u"Alt+← →", u"Back and forward",
      u"Sends ⌘[ and ⌘], back and forward in browsers, Finder and other apps with a "
      u"history. Hides ⌥← and ⌥→, which jump by word in Mac text (the Ctrl+← → row "
      u"does that). Terminals keep them."},
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
     {S::alt, u"Alt+D", u"Address bar",
      u"Sends ⌘L, which selects the address bar in browsers; in Finder it opens Go to "
      u"Folder (⇧⌘G), since ⌘L there makes an alias. Hides typing the character ⌥D "
      u"gives. Terminals keep it."},
     kTerminals},

    // Control letters become Command letters, except in terminals, where they keep their meaning.
    {"Ctrl+A",
     kControlBit,
     [](K k) { return k.controlOnly() && k.letter == U'a'; },
     [](A a, K k) { return a.controlLetter(k); },
     {u"⌘ %L"},
     PrefKey::ctrlSelectAll,
     {S::ctrl, u"Ctrl+A", u"Select all",
      u"Sends ⌘A. Hides ⌃A, which moves the cursor to the start of the line in Mac "
      u"text fields. Terminal apps are left alone."}},
    {"Ctrl+X C V",
     kControlBit,
     [](K k) { return k.controlOnly() && isAnyOf(k.letter, U"xcv"); },
     [](A a, K k) { return a.controlLetter(k); },
     {u"⌘ %L", u"Ctrl+%L"},
     PrefKey::ctrlClipboard,
     {S::ctrl, u"Ctrl+C X V", u"Copy, cut, paste",
      u"Edit with Ctrl like on Windows — sends the matching ⌘ shortcut. Terminal apps "
      u"are left alone so Ctrl+C still interrupts. In Finder, Ctrl+X then Ctrl+V moves "
      u"files when the Finder row below is also on."}},
    // Ctrl+E is the search box: a browser's address bar, Finder's search (⌘E would eject there);
    // other applications get the key as typed, since their ⌘E (use the selection for Find) is
    // something else. Ctrl+D and K are a browser's; in Finder Ctrl+D trashes (a Finder key, above).
    // Ctrl+J shows a browser's downloads with that browser's own key.
    {"Ctrl+E",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && k.letter == U'e'; },
     [](A a, K k) { return a.searchBox(k); },
     {u"⌘ L ~— ~the ~address ~bar", {}, u"⌘ F ~in ~Finder"},
     PrefKey::ctrlSearch,
     {S::ctrl, u"Ctrl+E", u"Search box",
      u"In Safari, Chrome and Firefox it sends ⌘L, which puts the cursor in the address bar "
      u"to search, as Windows browsers do; in Finder it sends ⌘F, Finder's search (⌘E would "
      u"eject the selected disk). Other apps get Ctrl+E as typed, since their ⌘E does "
      u"something else. Hides ⌃E, which goes to the end of the line in Mac text, in those "
      u"browsers and Finder."}},
    {"Ctrl+D K",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && isAnyOf(k.letter, U"dk"); },
     [](A a, K k) { return a.post(k.key, flag::command); },
     {u"⌘ %L", u"Ctrl+%L"},
     PrefKey::ctrlWebLetters,
     {S::ctrl, u"Ctrl+D K J", u"Bookmark, link, downloads",
      u"Ctrl+D and Ctrl+K send ⌘D and ⌘K: bookmark the page, add a link. Ctrl+J shows the "
      u"downloads with each browser's own key: ⌥⌘L in Safari, ⇧⌘J in Chrome, ⌘J in Firefox; "
      u"other apps get Ctrl+J as typed. Hides ⌃D, ⌃K and ⌃J, which delete forward, delete "
      u"to the end of the line and break the line in Mac text. In Finder Ctrl+D moves to the "
      u"Trash (the Del row) and the others pass; terminals keep all three."},
     kTerminals | kFinder},
    {"Ctrl+J",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && k.letter == U'j'; },
     [](A a, K k) { return a.downloads(k); },
     {},
     PrefKey::ctrlWebLetters},
    {"Ctrl+1…9",
     kControlBit,
     [](K k) { return k.controlOnly() && !k.shift && digitOfKey(k.key).has_value(); },
     [](A a, K k) { return a.post(k.key, flag::command); },
     {u"⌘ 1…9 ~— ⌘ 9 ~is ~the ~last ~tab"},
     PrefKey::ctrlDigits,
     {S::ctrl, u"Ctrl+1…9", u"Go to a tab",
      u"Sends ⌘1 to ⌘8 for the first eight tabs and ⌘9 for the last one, as browsers "
      u"and most tabbed apps read them. Terminals keep the keys."},
     kTerminals},
    {"Ctrl editing letters",
     kControlBit,
     [](K k) { return k.controlOnly(); },
     [](A a, K k) { return a.editingLetter(k); },
     {},
     PrefKey::ctrlLetters,
     {S::ctrl, u"Ctrl+Z Y S F N O P W T …", u"Editing and file keys",
      u"Undo, redo, save, find, new, open, print, close, new tab, reload and the rest of "
      u"the Ctrl letters do what they do on Windows. In Finder Ctrl+L goes to a folder "
      u"(⇧⌘G; ⌘L would make an alias) and Ctrl+R is left alone (⌘R would show an alias's "
      u"original). Hides the Mac's own Control-letter text keys in every app except "
      u"terminals — ⌃F ⌃B ⌃N ⌃P move the cursor, ⌃O opens a line, ⌃T transposes (⌃A, ⌃E, "
      u"⌃J and ⌃K have rows of their own). ⌃Backspace deletes a word, as ⌥⌫ does on a Mac."}},
    {"Ctrl+← / →",
     kCtrl,
     [](K k) { return (k.key == kLeft || k.key == kRight) && k.ctrl && !k.win && !k.option; },
     [](A a, K k) { return a.post(k.key, flag::option | k.heldShift()); },
     {u"⌥ ← ~and ⌥ → ~jump ~by ~word"},
     PrefKey::ctrlWord,
     {S::ctrl, u"Ctrl+← →", u"Jump by word",
      u"Like Windows text editing — sends ⌥← and ⌥→; add ⇧ to select. Hides ⌃← and ⌃→, "
      u"which switch Spaces (virtual desktops) on a Mac."}},
    {"Ctrl+↑ / ↓",
     kCtrl,
     [](K k) { return (k.key == kUp || k.key == kDown) && k.ctrl && !k.win && !k.option; },
     [](A a, K k) { return a.post(k.key, flag::option | k.heldShift()); },
     {u"⌥ ↑ ~and ⌥ ↓ ~by ~paragraph"},
     PrefKey::ctrlParagraph,
     {S::ctrl, u"Ctrl+↑ ↓", u"Jump by paragraph",
      u"Like Windows text editing — sends ⌥↑ and ⌥↓; add ⇧ to select. Hides ⌃↑ and ⌃↓, "
      u"which open Mission Control and App Exposé on a Mac. Terminals keep the keys."},
     kTerminals},
    {"Ctrl+PgDn / PgUp",
     kCtrl,
     [](K k) { return ctrlOnly(k) && (k.key == kPageDown || k.key == kPageUp); },
     [](A a, K k) { return a.post(kTab, flag::control | (k.key == kPageUp ? flag::shift : 0)); },
     {u"⌃ ⇥ ~and ⌃ ⇧ ⇥ ~switch ~tabs"},
     PrefKey::ctrlPageTabs,
     {S::ctrl, u"Ctrl+PgDn PgUp", u"Next and previous tab",
      u"Sends ⌃⇥ and ⌃⇧⇥, which switch tabs in browsers, Finder and most tabbed apps. "
      u"Terminals keep the keys for the programs running in them."},
     kTerminals},
    {"Ctrl+ + / − / 0",
     kControlBit,
     [](K k) { return k.controlOnly() && isZoomKey(k); },
     [](A a, K k) { return a.zoom(k); },
     {u"⌘ + ~and ⌘ − ~— ⌘ 0 ~resets", u"Ctrl+ + / −"},
     PrefKey::ctrlZoom,
     {S::ctrl, u"Ctrl++ − 0", u"Resize content",
      u"Zoom in, out and back to 100% with Ctrl like on Windows — sends ⌘+, ⌘− and ⌘0. "
      u"Works with the number row and the numeric keypad."}},
    {"Ctrl+Shift+Esc",
     kSpecial,
     [](K k) { return k.key == kEsc && k.shift && (k.controlBit || k.commandBit); },
     [](A a, K) { return a.open("/System/Applications/Utilities/Activity Monitor.app"); },
     {u"⌥ ⌘ Esc ~for ~force-quit"},
     PrefKey::taskMgr,
     {S::ctrl, u"Ctrl+Shift+Esc", u"Task Manager", u"Opens Activity Monitor."}},

    // The function keys' Windows meanings; terminals keep them for the programs running there.
    // Finder refreshes itself (⌘R shows an alias's original there) and its ⇧⌘G goes to a folder.
    {"F5",
     kSpecial,
     [](K k) { return plainKey(k, kF5) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'r', flag::command, k); },
     {u"⌘ R"},
     PrefKey::f5Refresh,
     {S::functionKeys, u"F5", u"Refresh",
      u"Sends ⌘R, which reloads the page in browsers. Finder keeps itself up to date "
      u"(⌘R there shows an alias's original) and terminals keep F5 for their programs."},
     kTerminals | kFinder},
    {"F3 / Shift+F3",
     kSpecial,
     [](K k) { return plainKey(k, kF3); },
     [](A a, K k) { return a.postLetter(U'g', flag::command | k.heldShift(), k); },
     {u"⌘ G ~and ⇧ ⌘ G"},
     PrefKey::f3FindNext,
     {S::functionKeys, u"F3 · Shift+F3", u"Find next, previous",
      u"Sends ⌘G and ⇧⌘G. Finder (where ⇧⌘G goes to a folder) and terminals keep the "
      u"keys."},
     kTerminals | kFinder},
    {"F11",
     kSpecial,
     [](K k) { return plainKey(k, kF11) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'f', flag::control | flag::command, k); },
     {u"⌃ ⌘ F"},
     PrefKey::f11FullScreen,
     {S::functionKeys, u"F11", u"Full screen",
      u"Sends ⌃⌘F, which enters and leaves full screen. Hides F11's Mac meaning, Show "
      u"Desktop (Win+D does that). Terminals keep F11."},
     kTerminals},
    {"F1",
     kSpecial,
     [](K k) { return plainKey(k, kF1) && !k.shift; },
     [](A a, K k) { return a.postLetter(U'?', flag::command, k); },
     {u"⌘ ? ~searches ~the ~Help ~menu"},
     PrefKey::f1Help,
     {S::functionKeys, u"F1", u"Help",
      u"Sends ⌘? (⇧⌘/), which opens the Help menu's search. Terminals keep F1."},
     kTerminals},
    {"Shift+F10",
     kSpecial,
     [](K k) { return plainKey(k, kF10) && k.shift; },
     [](A a, K k) { return a.win(k, [](FenwoldKeys& w) { w.showContextMenu(); }); },
     {u"⌃ ~click ~or ~a ~two-finger ~click"},
     PrefKey::contextMenu,
     {S::functionKeys, u"Shift+F10 · Menu", u"Context menu",
      u"Opens the context menu of the focused item, as a Control-click does; nothing "
      u"happens where it has none. Works with the Menu key of a PC keyboard too. "
      u"Terminals keep Shift+F10."},
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

// The shortcuts no key-down row decides, with their catalogue texts: what a Win+arrow snap does
// next (KeyActions::snap), Win pressed alone, left Alt+Shift, the wheel, a title bar's drag
// (DragSnapController) and double click, the green button (GreenButton), a Dock icon's click
// (DockClick) and the side buttons (TapDispatcher).
constexpr ListedShortcut kListedElsewhere[] = {
    {PrefKey::snapQuadrants,
     {S::windowsKey, u"Win+↑ ↓ after a snap", u"Quarter snapping",
      u"After snapping to a half, press Win+↑ or Win+↓ to move the window into the top "
      u"or bottom quarter, like Windows 11."}},
    {PrefKey::snapAssist,
     {S::windowsKey, u"After a snap", u"Snap assist",
      u"After snapping a window to one half, pick a window for the other half from a "
      u"preview grid. Esc dismisses it; any other shortcut dismisses it and does its "
      u"own job."}},
    {PrefKey::winAlone,
     {S::windowsSystem, u"Win alone", u"Search with Spotlight",
      u"Pressing and letting go of the Windows key by itself opens Spotlight, like the "
      u"Start menu's search. A key, a click or another modifier in between, or holding "
      u"it longer than 0.4 seconds, leaves it the plain ⌘ key, so ⌘ shortcuts keep "
      u"working."}},
    {PrefKey::altShiftSource,
     {S::alt, u"Left Alt+Shift", u"Next keyboard layout",
      u"Pressing left Alt and Shift together and letting go, with nothing in between, switches to "
      u"the next input source (keyboard layout), as Windows' language switch does. Off at first: "
      u"a Mac has no such key, and ⌥⇧ with the arrows, which selects text, stays untouched "
      u"either way. The right Alt is left alone (AltGr on many layouts)."}},
    {PrefKey::wheelZoom,
     {S::ctrl, u"Ctrl+scroll", u"Zoom with the wheel",
      u"Hold Ctrl (or ⌘) and scroll to zoom the frontmost app in and out, like Ctrl+wheel on "
      u"Windows. Works in any app that understands ⌘= and ⌘−; press ⌘0 (or Ctrl+0) to reset."}},
    {PrefKey::dragSnap,
     {S::screenAndMouse, u"Drag a title bar to an edge", u"Snap by dragging",
      u"Drag a window by its title bar against the left or right edge of a screen to fill that "
      u"half, into a corner for a quarter, or against the top edge to maximize, like Windows 11. "
      u"An outline shows where it will go; Esc during the drag keeps it where you drop it. "
      u"Dragging a snapped window away gives back its size. On macOS 15 and later this stands "
      u"aside while the Mac's own tiling of dragged windows is on (System Settings › Desktop & "
      u"Dock)."}},
    {PrefKey::dblClickMax,
     {S::screenAndMouse, u"Double-click title bar", u"Maximize",
      u"Fills the screen like Windows maximize instead of the macOS zoom/minimize "
      u"double-click action."}},
    {PrefKey::greenMaximizes,
     {S::screenAndMouse, u"Click the green button", u"Maximize",
      u"A click on the green button of a window fills the screen like the maximize button on "
      u"Windows, instead of entering full screen; a second click gives the window back its size. "
      u"Option-click, holding the button down (its tiling menu) and a window already in full "
      u"screen keep the Mac's behavior."}},
    {PrefKey::dockMinimizes,
     {S::screenAndMouse, u"Click the front app's Dock icon", u"Minimize, like the taskbar",
      u"A click on the Dock icon of the app in front minimizes its front window (Shift-click: all "
      u"of its windows), as a click on its taskbar button does on Windows. A click on an app whose "
      u"windows are all minimized brings back the last one. Other clicks, and hovering for the "
      u"Dock peek, are the Dock's as before."}},
    {PrefKey::parsecMouseFix,
     {S::remoteAccess, u"Mouse Back · Forward", u"Fix Parsec's mouse buttons",
      u"Parsec forwards the mouse's Back and Forward buttons with Windows numbering, so on the "
      u"Mac Back acts as Forward and Forward does nothing. Renumbers them so both work. Real mice "
      u"and RustDesk already use Mac numbering and are left untouched."}},
};

} // namespace

namespace {

// The rows a key-down is tried against, as bit sets in table order: those tried for every
// key-down, and for each fact those that need it. A key-down is tried against the union of the
// first and of its facts' sets, so that a key without facts (most typing) meets a handful of rows
// rather than the whole table.
constexpr std::size_t kRowWords = (std::size(kRows) + 63) / 64;
using RowSet = std::array<uint64_t, kRowWords>;
struct RowSets {
    RowSet always{};
    std::array<RowSet, 16> byFact{};
};
// A key-down without facts meets only the rows tried for every key-down, which are the switcher's
// own: outside a session "Anything else" passes it. The excluded applications' row relies on that
// to leave such keys alone.
static_assert([] {
    for (const KeyRow& row : kRows)
        if (row.needs == 0 && !row.inSwitcher) return false;
    return true;
}());
constexpr RowSets kRowSets = [] {
    RowSets sets;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const uint64_t bit = uint64_t{1} << (i % 64);
        if (kRows[i].needs == 0) sets.always[i / 64] |= bit;
        for (std::size_t f = 0; f < sets.byFact.size(); ++f)
            if (kRows[i].needs & (1u << f)) sets.byFact[f][i / 64] |= bit;
    }
    return sets;
}();

} // namespace

std::span<const KeyRow> keyRows() {
    return kRows;
}

std::vector<ListedShortcut> listedShortcuts() {
    std::vector<ListedShortcut> listed;
    for (const KeyRow& row : kRows)
        if (row.pref && !row.catalogue.empty()) listed.push_back({*row.pref, row.catalogue});
    const auto finder = finderListings();
    listed.insert(listed.end(), finder.begin(), finder.end());
    listed.insert(listed.end(), std::begin(kListedElsewhere), std::end(kListedElsewhere));
    return listed;
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

namespace {

// Tries one row: its answer, or none when it leaves the key to the following rows.
std::optional<TapAnswer> tryRow(const KeyRow& row, KeyActions& actions, const KeyPress& press,
                                const Prefs& prefs) {
    if (!press.closed && !row.inSwitcher) return std::nullopt;
    if (!row.when(press) || (row.pref && !prefs.on(*row.pref))) return std::nullopt;
    // The kind of application in front is asked once, and only when a row needs it.
    if (row.passesIn && (row.passesIn & actions.frontApp())) return std::nullopt;
    switch (row.does(actions, press)) {
    case RowAnswer::next:
        return std::nullopt;
    case RowAnswer::pass:
        return TapAnswer::pass;
    case RowAnswer::noKey:
        return actions.viaMenu(row, press);
    case RowAnswer::swallowAndHint:
        if (!row.hint.empty()) actions.hint(row, press);
        return TapAnswer::swallow;
    case RowAnswer::swallow:
        return TapAnswer::swallow;
    }
    return std::nullopt;
}

} // namespace

TapAnswer runKeyRows(KeyActions& actions, const KeyPress& press, const Prefs& prefs) {
    actions.newKeyDown();
    RowSet tried = kRowSets.always;
    for (unsigned facts = press.facts; facts; facts &= facts - 1)
        for (std::size_t w = 0; w < kRowWords; ++w)
            tried[w] |= kRowSets.byFact[static_cast<std::size_t>(std::countr_zero(facts))][w];
    for (std::size_t w = 0; w < kRowWords; ++w) {
        for (uint64_t bits = tried[w]; bits; bits &= bits - 1) {
            const KeyRow& row = kRows[w * 64 + static_cast<std::size_t>(std::countr_zero(bits))];
            if (const auto answer = tryRow(row, actions, press, prefs)) return *answer;
        }
    }
    return TapAnswer::pass;
}

} // namespace fenwold

#include "KeyRows.h"

#include "core/hints/MacHints.h"
#include "core/input/EditingKeys.h"
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
    return key == keycode::home || key == keycode::end;
}
constexpr bool isAnyOf(char32_t letter, std::u32string_view letters) {
    return letter != 0 && letters.find(letter) != std::u32string_view::npos;
}
// The plus and minus keys, wherever the layout puts them, and the number row's or keypad's zero.
bool isZoomKey(K k) {
    return k.letter == U'+' || k.layout->character(k.key, true) == U'+' || k.letter == U'-' ||
           k.key == kZero || k.key == keycode::keypadZero;
}
// Ctrl+Insert, Shift+Insert and Shift+Delete: no Option, no Win.
constexpr bool insertKey(K k, int64_t key, bool shift, bool ctrl) {
    return k.closed && !k.option && !k.win && k.key == key && k.shift == shift && k.ctrl == ctrl;
}

// Each row: its name; when it applies; what it does; its hint; the preference it sits behind.
// Tried in this order; the first row that applies, is switched on and answers decides. Rows with
// a letter or a symbol decide by what the key gives on the user's layout; the others by key code.
constexpr KeyRow kRows[] = {
    // The overlays that own the keyboard while they show, and the master switch.
    {"Snap assist", [](K k) { return k.closed && k.snap->snapAssistOpen; },
     [](A a, K k) { return a.snapAssistKey(k); }},
    // The snap layouts take the keys typed without Command, Control or Option while they show;
    // chords go on to their rows (the one that opened the panel closes it again).
    {"Snap layouts",
     [](K k) { return k.closed && k.snap->snapLayoutsOpen && !k.commandBit && !k.controlBit && !k.option; },
     [](A a, K k) { return a.snapLayoutsKey(k); }},
    {"Keyboard window move", [](K k) { return k.snap->moveTarget.has_value(); },
     [](A a, K k) { return a.windowMoveKey(k); }},
    {"⌘Esc",
     [](K k) { return k.closed && k.key == kEsc && k.commandBit && !k.controlBit && !k.option && !k.shift; },
     [](A a, K) { return a.toggleMasterSwitch(); }},
    // In an excluded application (a virtual machine, a remote desktop) every row below passes,
    // Alt+Tab included, so the guest gets the real keys. Overlays and a switcher session that
    // began elsewhere keep theirs until they close.
    {"Excluded application", [](K k) { return k.closed; }, [](A a, K) { return a.passInExcludedApp(); }},

    {"Alt+Space",
     [](K k) { return k.closed && k.key == keycode::space && k.option && !k.commandBit && !k.controlBit; },
     [](A a, K) { return a.openWindowMenu(); },
     {u"Alt+Space", u"~no ~native ~equivalent"},
     PrefKey::altSpace},
    {"Shift+PrtScn",
     [](K k) { return k.key == kF13 && k.shift; },
     [](A a, K) { return a.open("/System/Applications/Utilities/Screenshot.app"); },
     {u"Shift+PrtScn", u"⇧ ⌘ 5"},
     PrefKey::screenshotKeys},
    {"Alt+PrtScn",
     [](K k) { return k.key == kF13 && k.option; },
     [](A a, K) { return a.screenshot(true); },
     {u"Alt+PrtScn", u"⇧ ⌘ 4 ~then Space"},
     PrefKey::screenshotKeys},
    {"PrtScn",
     [](K k) { return k.key == kF13; },
     [](A a, K) { return a.screenshot(false); },
     {u"PrtScn", u"⇧ ⌘ 3 ~— ~add ⌃ ~for ~the ~clipboard"},
     PrefKey::screenshotKeys},
    {"Win+arrows",
     [](K k) { return k.closed && k.win && !k.option && !k.ctrl && isArrow(k.key); },
     [](A a, K k) { return a.snap(k); },
     {},
     PrefKey::snapKeys},

    {"Shift+Delete",
     [](K k) { return insertKey(k, kFwdDelete, true, false); },
     [](A a, K k) { return a.clipboardKey(U'x', k); },
     {u"Shift+Delete", u"⌘ X"},
     PrefKey::insertClipboard},
    {"Shift+Insert",
     [](K k) { return insertKey(k, kInsert, true, false); },
     [](A a, K k) { return a.clipboardKey(U'v', k); },
     {u"Shift+Insert", u"⌘ V"},
     PrefKey::insertClipboard},
    {"Ctrl+Insert",
     [](K k) { return insertKey(k, kInsert, false, true); },
     [](A a, K k) { return a.clipboardKey(U'c', k); },
     {u"Ctrl+Insert", u"⌘ C"},
     PrefKey::insertClipboard},
    // Finder's own keys (each with its preference and hint there).
    {"Finder keys", [](K k) { return k.closed; }, [](A a, K k) { return a.finderKey(k); }},

    {"Ctrl+Home / End",
     [](K k) { return k.closed && isHomeOrEnd(k.key) && !k.win && k.ctrl; },
     [](A a, K k) { return a.post(k.key == keycode::home ? kUp : kDown, flag::command | k.heldShift()); },
     {u"Ctrl+Home / End", u"⌘ ↑ ~and ⌘ ↓ ~for ~the ~document"},
     PrefKey::homeEnd},
    {"Home",
     [](K k) { return k.closed && k.key == keycode::home && !k.win && !k.ctrl; },
     [](A a, K k) { return a.post(kLeft, flag::command | k.heldShift()); },
     {u"Home", u"⌘ ←"},
     PrefKey::homeEnd},
    {"End",
     [](K k) { return k.closed && k.key == keycode::end && !k.win && !k.ctrl; },
     [](A a, K k) { return a.post(kRight, flag::command | k.heldShift()); },
     {u"End", u"⌘ →"},
     PrefKey::homeEnd},

    // Plain Win+key actions. A held Win+R or Win+V acts once.
    {"Win+R held",
     [](K k) { return k.plainWin() && k.repeat && k.letter == U'r'; },
     [](A, K) { return R::swallow; },
     {},
     PrefKey::winR},
    {"Win+V held",
     [](K k) { return k.plainWin() && k.repeat && k.letter == U'v'; },
     [](A, K) { return R::swallow; },
     {},
     PrefKey::winV},
    {"Win+1…9",
     [](K k) { return k.plainWin() && digitOfKey(k.key).has_value(); },
     [](A a, K k) { return a.win([n = *digitOfKey(k.key)](FenwoldKeys& w) { w.openDockApp(n); }); },
     {u"Win+1…9", u"~no ~native ~equivalent"},
     PrefKey::winNum},
    {"Win+D",
     [](K k) { return k.plainWin() && k.letter == U'd'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.showDesktop(); }); },
     {u"Win+D", u"fn F11"},
     PrefKey::winD},
    {"Win+V",
     [](K k) { return k.plainWin() && k.letter == U'v'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.toggleShelf(); }); },
     {},
     PrefKey::winV},
    {"Win+E",
     [](K k) { return k.plainWin() && k.letter == U'e'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.openHomeFolder(); }); },
     {u"Win+E", u"⌘ N ~in ~Finder"},
     PrefKey::winE},
    {"Win+R",
     [](K k) { return k.plainWin() && k.letter == U'r'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.openLauncher(); }); },
     {},
     PrefKey::winR},
    {"Win+L",
     [](K k) { return k.plainWin() && k.letter == U'l'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.lockScreen(); }); },
     {},
     PrefKey::winL},
    {"Win+M",
     [](K k) { return k.plainWin() && k.letter == U'm'; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.minimizeAll(false); }); },
     {u"Win+M", u"⌥ ⌘ M"},
     PrefKey::winM},
    {"Win+Tab",
     [](K k) { return k.plainWin() && k.key == kTab; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.openMissionControl(); }); },
     {u"Win+Tab", u"⌃ ↑ ~Mission ~Control"},
     PrefKey::winTab},
    {"Win+Home",
     [](K k) { return k.plainWin() && k.key == keycode::home; },
     [](A a, K) { return a.win([](FenwoldKeys& w) { w.minimizeAll(true); }); },
     {u"Win+Home", u"~no ~native ~equivalent"},
     PrefKey::winM},

    // Alt+F4 closes or quits; its autorepeats do nothing. Ctrl+F4 closes the tab.
    {"Alt+F4 held",
     [](K k) { return k.closed && k.key == keycode::f4 && k.option && k.repeat; },
     [](A, K) { return R::swallow; },
     {},
     PrefKey::altF4},
    {"Alt+F4",
     [](K k) { return k.closed && k.key == keycode::f4 && k.option; },
     [](A a, K k) { return a.altF4(k); },
     {},
     PrefKey::altF4},
    {"Ctrl+F4",
     [](K k) { return k.closed && k.key == keycode::f4 && !k.option && (k.controlBit || k.commandBit); },
     [](A a, K k) { return a.postLetter(U'w', flag::command, k); },
     {u"Ctrl+F4", u"⌘ W"},
     PrefKey::ctrlF4},

    // Control letters become Command letters, except in terminals, where they keep their meaning.
    {"Ctrl+A",
     [](K k) { return k.closed && k.controlOnly() && k.letter == U'a'; },
     [](A a, K k) { return a.controlLetter(k); },
     {u"Ctrl+%L", u"⌘ %L"},
     PrefKey::ctrlSelectAll},
    {"Ctrl+X C V",
     [](K k) { return k.closed && k.controlOnly() && isAnyOf(k.letter, U"xcv"); },
     [](A a, K k) { return a.controlLetter(k); },
     {u"Ctrl+%L", u"⌘ %L"},
     PrefKey::ctrlClipboard},
    {"Ctrl editing letters",
     [](K k) { return k.closed && k.controlOnly(); },
     [](A a, K k) { return a.editingLetter(k); },
     {},
     PrefKey::ctrlLetters},
    {"Ctrl+← / →",
     [](K k) { return k.closed && (k.key == kLeft || k.key == kRight) && k.ctrl && !k.win && !k.option; },
     [](A a, K k) { return a.post(k.key, flag::option | k.heldShift()); },
     {u"Ctrl+← / →", u"⌥ ← ~and ⌥ → ~jump ~by ~word"},
     PrefKey::ctrlWord},
    {"Ctrl+ + / − / 0",
     [](K k) { return k.closed && k.controlOnly() && isZoomKey(k); },
     [](A a, K k) { return a.zoom(k); },
     {u"Ctrl+ + / −", u"⌘ + ~and ⌘ − ~— ⌘ 0 ~resets"},
     PrefKey::ctrlZoom},
    {"Ctrl+Shift+Esc",
     [](K k) { return k.closed && k.key == kEsc && k.shift && (k.controlBit || k.commandBit); },
     [](A a, K) { return a.open("/System/Applications/Utilities/Activity Monitor.app"); },
     {u"Ctrl+Shift+Esc", u"⌥ ⌘ Esc ~for ~force-quit"},
     PrefKey::taskMgr},

    // Alt+Tab opens the switcher (even with the master switch off), and while it captures every
    // key is its own.
    {"Alt+Tab",
     [](K k) { return k.key == kTab && k.option; },
     [](A a, K k) { return a.altTab(k); },
     {},
     PrefKey::altTab},
    {"Anything else", [](K k) { return !k.capturing; }, [](A, K) { return R::pass; }},
    {"Esc in the switcher", [](K k) { return k.key == kEsc; }, [](A a, K k) { return a.cancelSwitcher(k); }},
    {"Keys in the switcher", [](K) { return true; }, [](A a, K k) { return a.switcherKey(k); }},
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
    return k;
}

Hint RowHint::render(const KeyPress& press) const {
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
    return {text(win), text(mac), std::nullopt};
}

TapAnswer runKeyRows(std::span<const KeyRow> rows, KeyActions& actions, const KeyPress& press,
                     const Prefs& prefs) {
    for (const KeyRow& row : rows) {
        if (!row.when(press) || (row.pref && !prefs.on(*row.pref))) continue;
        switch (row.does(actions, press)) {
        case RowAnswer::next:
            continue;
        case RowAnswer::pass:
            return TapAnswer::pass;
        case RowAnswer::noKey:
            actions.reportNoKey(row.name, press);
            return TapAnswer::pass;
        case RowAnswer::swallowAndHint:
            if (!row.hint.empty()) actions.hint(row.hint, press);
            return TapAnswer::swallow;
        case RowAnswer::swallow:
            return TapAnswer::swallow;
        }
    }
    return TapAnswer::pass;
}

} // namespace fenwold

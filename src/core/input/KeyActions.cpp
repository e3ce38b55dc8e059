#include "KeyActions.h"

#include "core/hints/HintHUD.h"
#include "core/input/DispatchTargets.h"
#include "core/input/EditingKeys.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FinderKeys.h"
#include "core/input/HIDRemap.h"
#include "core/input/Inject.h"
#include "core/input/Keys.h"
#include "core/input/MenuEquivalents.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/WindowActions.h"
#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"
#include "ports/Processes.h"
#include "ports/Workspace.h"

#include <QUrl>
#include <utility>

namespace fenwold {

namespace {

using Kind = SwitcherPhase::Kind;

// Leaves native full screen first where needed.
void whenWindowed(WindowActions& w, const WindowRef& window, std::function<void()> action) {
    if (w.fullscreenState(window) == true)
        w.whenNotFullscreen(window, std::move(action));
    else
        action();
}

// Win+Up and Win+Down between halves and quarters; none when the key maximizes or minimizes.
std::optional<SnapKind> quarterStep(int64_t key, std::optional<SnapKind> current) {
    if (!current) return std::nullopt;
    if (key == kUp) {
        if (*current == SnapKind::left) return SnapKind::topLeft;
        if (*current == SnapKind::right) return SnapKind::topRight;
        if (*current == SnapKind::bottomLeft) return SnapKind::left;
        if (*current == SnapKind::bottomRight) return SnapKind::right;
        return std::nullopt;
    }
    if (*current == SnapKind::left) return SnapKind::bottomLeft;
    if (*current == SnapKind::right) return SnapKind::bottomRight;
    if (*current == SnapKind::topLeft) return SnapKind::left;
    if (*current == SnapKind::topRight) return SnapKind::right;
    return std::nullopt;
}

QString describeLetter(char32_t letter) {
    return QString::fromUcs4(&letter, 1);
}

} // namespace

KeyActions::KeyActions(const TapDispatcher::Parts& parts) : p_(parts) {}

RowAnswer KeyActions::snapAssistKey(const KeyPress& press) {
    if (!p_.assist) return RowAnswer::next;
    // Its keys are typed without Command, Control or Option; a chord closes it and goes on to its
    // own row (Win+V still opens the shelf, Ctrl+C still copies), and so does any other key.
    if (press.commandBit || press.controlBit || press.option) {
        p_.assist->dismiss();
        return RowAnswer::next;
    }
    return p_.assist->handleKey(press.key, press.shift) ? RowAnswer::swallow : RowAnswer::next;
}

RowAnswer KeyActions::snapLayoutsKey(const KeyPress& press) {
    return p_.layouts && p_.layouts->handleKey(press.key, press.shift) ? RowAnswer::swallow : RowAnswer::pass;
}

RowAnswer KeyActions::windowMoveKey(const KeyPress& press) {
    return p_.winMenu && p_.winMenu->handleMoveKey(press.key, *press.snap->moveTarget) ? RowAnswer::swallow
                                                                                       : RowAnswer::next;
}

RowAnswer KeyActions::toggleMasterSwitch() {
    const Prefs prefs(*p_.prefs);
    // Written at once, so the very next event already sees it.
    const bool on = !prefs.shortcutsEnabled();
    prefs.set(PrefKey::shortcutsEnabled, on);
    Hint h{QStringLiteral("⌘Esc"),
           on ? QStringLiteral("⌘ Esc ~turns ~them ~off") : QStringLiteral("⌘ Esc ~turns ~them ~back ~on"),
           on ? QStringLiteral("Fenwold shortcuts on") : QStringLiteral("Fenwold shortcuts off")};
    // Shown even with hints off: the user must see what the toggle did.
    p_.mainQueue->post([hints = p_.hints, h] {
        if (hints) hints->present(h);
    });
    return RowAnswer::swallow;
}

RowAnswer KeyActions::passInExcludedApp() const {
    return frontExcluded() ? RowAnswer::pass : RowAnswer::next;
}

RowAnswer KeyActions::openWindowMenu() {
    p_.mainQueue->post([menu = p_.winMenu] {
        if (menu) menu->show();
    });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::open(const char* applicationPath) {
    p_.mainQueue->post([ws = p_.workspace, url = QUrl::fromLocalFile(QString::fromUtf8(applicationPath))] {
        ws->open(url);
    });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::screenshot(bool windowOnly) {
    p_.mainQueue->post([this, windowOnly] {
        QStringList args = {QStringLiteral("-c")};
        if (windowOnly) {
            std::optional<uint32_t> id;
            if (p_.switcher && !p_.routing->snapshot().switcherPhase.isClosed())
                id = p_.switcher->selectedWindowID();
            if (!id && p_.windows)
                if (const auto front = p_.windows->frontmostWindow()) id = front->id;
            if (!id) return;
            args << QStringLiteral("-o") << QStringLiteral("-l") << QString::number(*id);
        }
        p_.processes->launch(QStringLiteral("/usr/sbin/screencapture"), args);
    });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::snap(const KeyPress& press) {
    queueSnap(press.key, press.shift);
    return RowAnswer::swallow;
}

void KeyActions::queueSnap(int64_t key, bool shift) {
    p_.mainQueue->post([this, key, shift] {
        WindowActions* w = p_.windows;
        const Prefs prefs(*p_.prefs);
        const std::optional<WindowRef> front = w ? w->frontmostWindow() : std::nullopt;
        const auto snapTo = [w, front](SnapKind s) {
            if (front) whenWindowed(*w, *front, [w, s, win = *front] { w->applySnap(s, win); });
        };
        if (key == kLeft || key == kRight) {
            snapTo(key == kLeft ? SnapKind::left : SnapKind::right);
            hint(QStringLiteral("Win+← / →"),
                 QStringLiteral("~hold ~the ~green ~button, ~then ~pick ~a ~side"));
            if (front && prefs.snapAssist() && p_.assist) p_.assist->show(key == kLeft, front->id);
        } else if (key == kUp && shift) {
            if (front) w->toggleFullscreen(*front);
            hint(QStringLiteral("Shift+Win+↑"), QStringLiteral("⌃ ⌘ F"));
        } else if (const auto next = quarterStep(key, front && prefs.snapQuadrants() ? w->currentSnap(*front)
                                                                                     : std::nullopt)) {
            snapTo(*next);
            hint(QStringLiteral("Win+↑ / ↓"), QStringLiteral("~no ~native ~equivalent ~— ~you’re ~welcome"));
        } else if (key == kUp) {
            snapTo(SnapKind::maximize);
            hint(QStringLiteral("Win+↑"), QStringLiteral("⌥ ~click ~the ~green ~button"));
        } else {
            if (front) w->minimizeFrontmost();
            hint(QStringLiteral("Win+↓"), QStringLiteral("⌘ M"));
        }
    });
}

RowAnswer KeyActions::moveToDisplay(const KeyPress& press) {
    p_.mainQueue->post([w = p_.windows, right = press.key == kRight] {
        if (!w) return;
        if (const auto front = w->frontmostWindow()) w->moveToDisplay(right, *front);
    });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::snapLayouts(const KeyPress& press) {
    if (!p_.layouts) return RowAnswer::next;
    if (press.repeat) return RowAnswer::swallow;
    p_.mainQueue->post([layouts = p_.layouts] { layouts->show(); });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::altF4(const KeyPress& press) {
    const AltF4Action action = readAltF4Action(Prefs(*p_.prefs));
    if (action == AltF4Action::closeWindowOrQuit) {
        p_.mainQueue->post([w = p_.windows] {
            if (w) w->closeFrontmostWindowOrQuit();
        });
        hint(QStringLiteral("Alt+F4"), QStringLiteral("⌘ W ~closes, ⌘ Q ~quits"));
        return RowAnswer::swallow;
    }
    const bool close = action == AltF4Action::close;
    const char32_t letter = close ? U'w' : U'q';
    const auto key = keyGiving(letter, *press.layout);
    if (!key) return noKey(letter, flag::command);
    p_.mainQueue->post([inject = p_.inject, key = *key] { inject->post(key, flag::command); });
    hint(QStringLiteral("Alt+F4"), close ? QStringLiteral("⌘ W ~closes") : QStringLiteral("⌘ Q ~quits"));
    return RowAnswer::swallow;
}

RowAnswer KeyActions::post(int64_t key, uint64_t flags) {
    p_.inject->post(static_cast<uint16_t>(key), flags);
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::postLetter(char32_t letter, uint64_t flags, const KeyPress& press) {
    const auto stroke = press.layout->keyFor(letter);
    if (!stroke) return noKey(letter, flags);
    return post(stroke->keyCode, flags | (stroke->shift ? flag::shift : 0));
}

RowAnswer KeyActions::clipboardKey(char32_t letter, const KeyPress& press) {
    if (p_.finder && p_.finder->clipboardKey(letter, *press.layout)) return RowAnswer::swallow;
    return postLetter(letter, flag::command, press);
}

RowAnswer KeyActions::controlLetter(const KeyPress& press) {
    if (frontIsTerminal()) return RowAnswer::next;
    if (p_.finder && press.letter != U'a' && p_.finder->clipboardKey(press.letter, *press.layout))
        return RowAnswer::swallow;
    return post(press.key, flag::command | press.heldShift());
}

RowAnswer KeyActions::editingLetter(const KeyPress& press) {
    const uint8_t front = frontApp();
    if (front == frontapp::terminal) return RowAnswer::next;
    const auto edit = editingKey(press.key, press.shift, *press.layout, front == frontapp::finder);
    if (!edit) return RowAnswer::next;
    if (edit->unavailable) {
        unavailableKeys_ = edit->win;
        return noKey(edit->unavailable, edit->flags);
    }
    p_.inject->post(edit->key, edit->flags);
    hint(edit->win, edit->mac);
    return RowAnswer::swallow;
}

RowAnswer KeyActions::finderKey(const KeyPress& press) {
    return p_.finder && p_.finder->handle(press.key, press.letter, press.flags, *press.layout)
               ? RowAnswer::swallow
               : RowAnswer::next;
}

RowAnswer KeyActions::macClipboardKey(const KeyPress& press) {
    if (p_.finder) p_.finder->macClipboardKey(press.letter, inFinder());
    return RowAnswer::next;
}

RowAnswer KeyActions::searchBox(const KeyPress& press) {
    if (inFinder()) return postLetter(U'f', flag::command, press);
    if (frontBrowser()) return postLetter(U'l', flag::command, press);
    return RowAnswer::pass;
}

RowAnswer KeyActions::downloads(const KeyPress& press) {
    const KnownBrowser* browser = frontBrowser();
    if (!browser) return RowAnswer::pass;
    const auto stroke = press.layout->keyFor(browser->downloadsLetter);
    if (!stroke) return noKey(browser->downloadsLetter, browser->downloadsFlags);
    p_.inject->post(stroke->keyCode, browser->downloadsFlags | (stroke->shift ? flag::shift : 0));
    if (p_.hints && p_.hints->shows())
        hint(QStringLiteral("Ctrl+J"),
             QString::fromRawData(reinterpret_cast<const QChar*>(browser->downloadsHint.data()),
                                  static_cast<qsizetype>(browser->downloadsHint.size())));
    return RowAnswer::swallow;
}

RowAnswer KeyActions::nextInputSource(const KeyPress& press) {
    if (!p_.inputSources) return RowAnswer::next;
    if (press.repeat) return RowAnswer::swallow;
    p_.mainQueue->post(
        [sources = p_.inputSources, back = press.shift] { InputSource::cycle(*sources, back); });
    return RowAnswer::swallowAndHint;
}

RowAnswer KeyActions::zoom(const KeyPress& press) {
    const uint64_t flags = flag::command | press.heldShift();
    // Zero is the number row's, wherever the layout puts the digit; plus and minus are the keys
    // that give them (the keypad's post the main block's).
    if (press.key == k0 || press.key == kKeypad0) return post(k0, flags);
    if (press.key < kMainBlockKeys) return post(press.key, flags);
    const char32_t sign = press.letter == U'-' ? U'-' : U'+';
    if (const auto key = keyGiving(sign, *press.layout)) return post(*key, flags);
    return noKey(sign, flags);
}

RowAnswer KeyActions::altTab(const KeyPress& press) {
    const uint64_t id = press.snap->switcherPhase.id;
    if (press.capturing) {
        p_.mainQueue->post([switcher = p_.switcher, id, delta = press.shift ? -1 : 1] {
            if (switcher) switcher->move(id, delta);
        });
    } else if (press.closed) {
        const uint64_t session = p_.routing->beginSwitcherSession();
        if (p_.forwarder) p_.forwarder->start(session);
        p_.mainQueue->post([switcher = p_.switcher, session] {
            if (switcher) switcher->open(session);
        });
    }
    return RowAnswer::swallow;
}

RowAnswer KeyActions::cancelSwitcher(const KeyPress& press) {
    const uint64_t id = press.snap->switcherPhase.id;
    if (!p_.routing->beginSwitcherCancellation(id)) return RowAnswer::swallow;
    if (p_.forwarder) p_.forwarder->clearIfSession(id);
    p_.mainQueue->post([switcher = p_.switcher, id] {
        if (switcher) switcher->cancel(id);
    });
    return RowAnswer::swallow;
}

RowAnswer KeyActions::switcherKey(const KeyPress& press) {
    p_.mainQueue->post(
        [switcher = p_.switcher, id = press.snap->switcherPhase.id, key = press.key, flags = press.flags] {
            if (switcher) switcher->handleKey(id, key, flags);
        });
    return RowAnswer::swallow;
}

void KeyActions::hint(const QString& win, const QString& mac) const {
    if (p_.hints) p_.hints->show(win, mac);
}

void KeyActions::hint(const KeyRow& row, const KeyPress& press) {
    if (p_.hints && p_.hints->shows())
        p_.hints->show(row.renderHint(press, !row.hint.macInFinder.empty() && inFinder()));
}

RowAnswer KeyActions::noKey(char32_t letter, uint64_t flags) {
    unavailable_ = letter;
    unavailableFlags_ = flags & flag::chord;
    return RowAnswer::noKey;
}

TapAnswer KeyActions::viaMenu(const KeyRow& row, const KeyPress& press) {
    QString keys = std::exchange(unavailableKeys_, QString());
    if (!p_.menus) {
        reportNoKey(row.name, press);
        return TapAnswer::pass;
    }
    // Each walk asks the application for its whole menu bar: a held key does not ask again.
    if (press.repeat) return TapAnswer::swallow;
    if (keys.isEmpty()) keys = row.renderHint(press, false).win;
    p_.menus->perform({keys,
                       p_.workspace->frontmostPid(),
                       {unavailable_, unavailableFlags_},
                       static_cast<uint16_t>(press.key),
                       press.flags});
    return TapAnswer::swallow;
}

void KeyActions::reportNoKey(std::string_view row, const KeyPress& press) const {
    if (press.repeat) return;
    p_.log->line(
        QStringLiteral("Fenwold: %1 passed the key untouched — no key of the keyboard layout %2 types “%3”")
            .arg(QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size())), press.layout->sourceID(),
                 describeLetter(unavailable_)));
}

std::optional<uint16_t> KeyActions::keyGiving(char32_t character, const KeyLayoutTable& layout) {
    const auto stroke = layout.keyFor(character);
    return stroke ? std::optional<uint16_t>(stroke->keyCode) : std::nullopt;
}

bool KeyActions::frontIsTerminal() {
    return frontApp() == frontapp::terminal;
}

uint8_t KeyActions::frontApp() {
    if (front_) return front_;
    const auto front = p_.workspace->frontmostApp();
    front_ = frontapp::other;
    if (!front || !front->bundleID) return front_;
    if (*front->bundleID == QLatin1String(FinderKeys::kFinderBundleID)) return front_ = frontapp::finder;
    for (const auto& id : terminalBundleIDs)
        if (*front->bundleID == QLatin1String(id.data(), static_cast<qsizetype>(id.size())))
            return front_ = frontapp::terminal;
    for (const KnownBrowser& browser : knownBrowsers) {
        if (*front->bundleID ==
            QLatin1String(browser.bundleID.data(), static_cast<qsizetype>(browser.bundleID.size()))) {
            browser_ = &browser;
            return front_ = frontapp::browser;
        }
    }
    return front_;
}

bool KeyActions::frontExcluded() const {
    return p_.exclusions && p_.exclusions->frontExcluded();
}

} // namespace fenwold

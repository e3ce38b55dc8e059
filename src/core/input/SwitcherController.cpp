#include "SwitcherController.h"

#include "core/hints/MacHints.h"
#include "core/input/DispatchTargets.h"
#include "core/input/EditingKeys.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FinderKeys.h"
#include "core/input/HIDRemap.h"
#include "core/input/Inject.h"
#include "core/input/Keys.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/Trace.h"
#include "core/input/WinKeys.h"
#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"
#include "ports/Processes.h"
#include "ports/Workspace.h"

#include <QLocale>
#include <QUrl>

namespace fenwold {

namespace {

using Kind = SwitcherPhase::Kind;

constexpr bool isArrow(int64_t key) {
    return key >= kLeft && key <= kUp;
}

} // namespace

SwitcherController::SwitcherController(const Parts& parts) : p_(parts) {}

uint64_t SwitcherController::eventMask(bool tracing) {
    uint64_t mask = 0;
    for (uint32_t type : {eventtype::leftMouseDown, eventtype::leftMouseUp, eventtype::keyDown,
                          eventtype::keyUp, eventtype::flagsChanged, eventtype::scrollWheel,
                          eventtype::otherMouseDown, eventtype::otherMouseUp})
        mask |= uint64_t{1} << type;
    if (tracing) mask |= uint64_t{1} << eventtype::systemDefined;
    return mask;
}

bool SwitcherController::startTap() {
    const uint64_t mask = eventMask(p_.trace && p_.trace->on());
    if (!p_.tap || !p_.tap->start(mask, [this](TapEvent& e) { return tapCallback(e); })) {
        p_.log->line(QStringLiteral("Fenwold: could not create event tap (accessibility not granted?)"));
        return false;
    }
    p_.log->line(QStringLiteral("Fenwold: event tap active — hold Option and press Tab"));
    return true;
}

SwitcherController::~SwitcherController() {
    stopTap();
}

void SwitcherController::stopTap() {
    if (p_.tap) p_.tap->stop();
}

void SwitcherController::pauseTap() {
    {
        std::lock_guard lock(tapState_);
        if (tapPaused_) return;
        tapPaused_ = true;
        if (p_.tap) p_.tap->disable();
    }
    p_.log->line(QStringLiteral("Fenwold: accessibility permission revoked — shortcuts paused"));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("TAP PAUSED (accessibility revoked)"));
}

void SwitcherController::resumeTap() {
    if (!tapPaused()) return;
    // The system keeps the key events from a tap that lost the permission, and a tap gets the
    // event types it may see when it is made: a new tap. The old one goes while still paused, so
    // its thread cannot turn it back on; a notice on the new one before the pause ends is made
    // good under the lock.
    stopTap();
    startTap();
    {
        std::lock_guard lock(tapState_);
        tapPaused_ = false;
        if (p_.tap) p_.tap->reEnable();
    }
    p_.log->line(QStringLiteral("Fenwold: accessibility permission restored — shortcuts resumed"));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("TAP RESUMED"));
}

bool SwitcherController::tapPaused() const {
    std::lock_guard lock(tapState_);
    return tapPaused_;
}

void SwitcherController::reEnableUnlessPaused() {
    // Decided and done under the lock a pause takes, so that a pause cannot come in between and
    // be undone.
    std::lock_guard lock(tapState_);
    if (p_.tap && !tapPaused_) p_.tap->reEnable();
}

TapAnswer SwitcherController::tapCallback(TapEvent& event) {
    if (event.type == eventtype::tapDisabledByTimeout || event.type == eventtype::tapDisabledByUserInput)
        return tapDisabled(event);

    TapAnswer answer = handle(event);
    if (event.type == eventtype::keyDown) {
        if (answer == TapAnswer::pass)
            swallowedKeys_.remove(event.keyCode);
        else
            swallowedKeys_.insert(event.keyCode);
    } else if (event.type == eventtype::keyUp && answer == TapAnswer::pass) {
        if (swallowedKeys_.remove(event.keyCode)) answer = TapAnswer::swallow;
    }
    return answer;
}

TapAnswer SwitcherController::tapDisabled(const TapEvent& event) {
    p_.log->line(QStringLiteral("Fenwold: event tap disabled (type %1) — re-enabling")
                     .arg(static_cast<int32_t>(event.type)));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("TAP DISABLED type=%1").arg(event.type));

    // The Alt release of an open session may have been lost: cancel it.
    const SwitcherPhase phase = p_.routing->snapshot().switcherPhase;
    if (!phase.isClosed() && p_.routing->beginSwitcherCancellation(phase.id)) {
        const uint64_t id = phase.id;
        if (p_.forwarder) p_.forwarder->clearIfSession(id);
        p_.mainQueue->post([switcher = p_.switcher, id] {
            if (switcher) switcher->cancel(id);
        });
    }
    if (p_.finder) p_.finder->cancelPending();
    swallowMouseUp_ = false;
    f19Held_ = false;
    swallowedKeys_.clear();
    reEnableUnlessPaused();
    return TapAnswer::pass;
}

TapAnswer SwitcherController::handle(TapEvent& event) {
    if (p_.trace && p_.trace->on()) p_.trace->write(dbg(event));
    if (event.sourceUserData == kOwnEventMarker) return TapAnswer::pass;
    if (event.type == eventtype::systemDefined) return TapAnswer::pass;

    const Prefs prefs(*p_.prefs);
    const bool swap = prefs.swapCtrlCmd();
    // Hardware events were swapped below the tap already; keep other programs' synthetic
    // events consistent with the physical keys.
    if (swap && event.sourcePid != 0) {
        const uint64_t both = flag::control | flag::command;
        const uint64_t bits = event.flags & both;
        if (bits == flag::control || bits == flag::command)
            event.flags = (event.flags & ~both) | (bits ^ both);
    }

    if (event.type == eventtype::otherMouseDown || event.type == eventtype::otherMouseUp) {
        sideButton(event);
        return TapAnswer::pass;
    }
    if ((event.type == eventtype::keyDown || event.type == eventtype::keyUp) && f19(event))
        return TapAnswer::swallow;

    const InputRoutingState::Snapshot snap = p_.routing->snapshot();
    // A held-back Finder key needs its release even if an overlay opened meanwhile; otherwise it
    // would stay pending and every later press of that key would be taken for an autorepeat.
    if (event.type == eventtype::keyUp && p_.finder && p_.finder->handleKeyUp(event.keyCode))
        return TapAnswer::swallow;
    if (snap.clipboardOpen) return TapAnswer::pass;
    const SwitcherPhase phase = snap.switcherPhase;
    if (phase.kind == Kind::cancelling) return TapAnswer::pass;
    const bool isKey = event.type == eventtype::keyDown || event.type == eventtype::keyUp;
    if (isKey && phase.kind == Kind::committing) {
        if (event.keyCode < 0 || event.keyCode > 0xFFFF || !p_.forwarder) return TapAnswer::pass;
        return p_.forwarder->capture(phase.id, static_cast<uint16_t>(event.keyCode), event.flags,
                                     event.type == eventtype::keyDown)
                   ? TapAnswer::swallow
                   : TapAnswer::pass;
    }
    switch (event.type) {
    case eventtype::keyUp:
        return TapAnswer::pass;
    case eventtype::flagsChanged:
        flagsChanged(event, snap);
        return TapAnswer::pass;
    case eventtype::keyDown:
        return keyDown(event, snap, swap);
    case eventtype::leftMouseDown:
    case eventtype::leftMouseUp:
    case eventtype::scrollWheel:
        return pointer(event, snap);
    default:
        return TapAnswer::pass;
    }
}

bool SwitcherController::f19(TapEvent& event) {
    if (!Prefs(*p_.prefs).f19Globe()) return false;
    const bool trace = p_.trace && p_.trace->on();
    if (event.keyCode == kF19) {
        if (event.type == eventtype::keyDown) {
            if (!f19Held_) f19Used_ = false;
            f19Held_ = true;
            return true;
        }
        f19Held_ = false;
        if (f19Used_) return true;
        // A bare tap: what the Globe key does alone.
        if (trace) p_.trace->write(p_.trace->stamp() + QStringLiteral(" F19-BARE-TAP → cycle"));
        p_.mainQueue->post([sources = p_.inputSources] {
            if (sources) InputSource::cycle(*sources);
        });
        return true;
    }
    if (f19Held_) {
        f19Used_ = true;
        event.flags |= flag::secondaryFn;
        if (trace)
            p_.trace->write(
                QStringLiteral("t=%1 F19-STAMP key=%2 out=0x%3")
                    .arg(QString::number(p_.mainQueue->uptime(), 'g', QLocale::FloatingPointShortest))
                    .arg(event.keyCode)
                    .arg(event.flags, 0, 16));
    }
    return false;
}

void SwitcherController::flagsChanged(const TapEvent& event, const InputRoutingState::Snapshot& snap) {
    if (snap.switcherPhase.kind != Kind::capturing || (event.flags & flag::option)) return;
    const uint64_t id = snap.switcherPhase.id;
    if (!p_.routing->commitSwitcherSession(id)) return;
    p_.mainQueue->post([switcher = p_.switcher, id] {
        if (switcher) switcher->commit(id);
    });
}

TapAnswer SwitcherController::keyDown(TapEvent& event, const InputRoutingState::Snapshot& snap, bool swap) {
    const Prefs prefs(*p_.prefs);
    const int64_t key = event.keyCode;
    const uint64_t f = event.flags;
    const bool closed = snap.switcherPhase.isClosed();
    const bool capturing = snap.switcherPhase.kind == Kind::capturing;
    const bool shift = f & flag::shift, option = f & flag::option;
    const bool controlBit = f & flag::control, commandBit = f & flag::command;
    const bool win = f & winMask(swap), ctrl = f & ctrlMask(swap);
    const bool repeat = event.autorepeat != 0;
    const uint64_t keepShift = shift ? flag::shift : 0;
    constexpr auto swallow = TapAnswer::swallow;

    // 1. Snap assist owns the keys while it shows.
    if (closed && snap.snapAssistOpen)
        return p_.assist && p_.assist->handleKey(key, shift) ? swallow : TapAnswer::pass;
    // 2. A keyboard window move.
    if (snap.moveTarget && p_.winMenu && p_.winMenu->handleMoveKey(key, *snap.moveTarget)) return swallow;
    // 3. The master switch, which works even while it is off.
    if (closed && key == kEsc && commandBit && !controlBit && !option && !shift) {
        toggleMasterSwitch();
        return swallow;
    }
    // In an excluded application (a virtual machine, a remote desktop) every other row passes,
    // Alt+Tab included, so the guest gets the real keys. Overlays and a switcher session that
    // began elsewhere keep theirs until they close.
    if (closed && frontExcluded()) return TapAnswer::pass;
    // 4. Alt+Space.
    if (closed && key == keycode::space && option && !commandBit && !controlBit && prefs.altSpace()) {
        p_.mainQueue->post([menu = p_.winMenu] {
            if (menu) menu->show();
        });
        hint(QStringLiteral("Alt+Space"), QStringLiteral("~no ~native ~equivalent"));
        return swallow;
    }
    // 5, 6. PrtScn.
    if (key == kF13 && prefs.screenshotKeys()) {
        if (shift) {
            p_.mainQueue->post([ws = p_.workspace] {
                ws->open(
                    QUrl::fromLocalFile(QStringLiteral("/System/Applications/Utilities/Screenshot.app")));
            });
            hint(QStringLiteral("Shift+PrtScn"), QStringLiteral("⇧ ⌘ 5"));
        } else {
            screenshot(option);
        }
        return swallow;
    }
    // 7-9. Win+arrows.
    if (closed && win && !option && !ctrl && isArrow(key) && prefs.snapKeys()) {
        snapKey(key, shift);
        return swallow;
    }
    // 10. Insert and Shift+Delete clipboard keys.
    if (closed && !option && !win && prefs.insertClipboard() &&
        ((key == kInsert && shift != ctrl) || (key == kFwdDelete && shift && !ctrl))) {
        const int64_t mapped = key == kFwdDelete ? keycode::x : shift ? keycode::v : keycode::c;
        if (!(p_.finder && p_.finder->handle(mapped, flag::command))) {
            post(mapped, flag::command);
            if (mapped == keycode::x)
                hint(QStringLiteral("Shift+Delete"), QStringLiteral("⌘ X"));
            else if (mapped == keycode::v)
                hint(QStringLiteral("Shift+Insert"), QStringLiteral("⌘ V"));
            else
                hint(QStringLiteral("Ctrl+Insert"), QStringLiteral("⌘ C"));
        }
        return swallow;
    }
    // 11. Finder's own keys.
    if (closed && p_.finder && p_.finder->handle(key, f)) return swallow;
    // 12, 13. Home and End.
    if (closed && (key == keycode::home || key == keycode::end) && !win && prefs.homeEnd()) {
        const bool home = key == keycode::home;
        if (ctrl) {
            post(home ? kUp : kDown, flag::command | keepShift);
            hint(QStringLiteral("Ctrl+Home / End"), QStringLiteral("⌘ ↑ ~and ⌘ ↓ ~for ~the ~document"));
        } else {
            post(home ? kLeft : kRight, flag::command | keepShift);
            hint(home ? QStringLiteral("Home") : QStringLiteral("End"),
                 home ? QStringLiteral("⌘ ←") : QStringLiteral("⌘ →"));
        }
        return swallow;
    }
    // 14, 15. Win+key actions; held Win+R and Win+V act once.
    if (closed && win && !option && !ctrl && !shift) {
        if (repeat && ((key == keycode::r && prefs.winR()) || (key == keycode::v && prefs.winV())))
            return swallow;
        if (p_.winKeys && p_.winKeys->handleCmdKey(key)) return swallow;
    }
    // 16, 17. Alt+F4; its autorepeats do nothing.
    if (closed && key == keycode::f4 && option && prefs.altF4()) {
        if (!repeat) altF4();
        return swallow;
    }
    // 18. Ctrl+F4.
    if (closed && key == keycode::f4 && !option && (controlBit || commandBit) && prefs.ctrlF4()) {
        post(keycode::w, flag::command);
        hint(QStringLiteral("Ctrl+F4"), QStringLiteral("⌘ W"));
        return swallow;
    }
    // 19. Ctrl+A/X/C/V, except in terminals.
    if (closed && (key == keycode::a || key == keycode::x || key == keycode::c || key == keycode::v) &&
        controlBit && !commandBit && !option) {
        const bool enabled = key == keycode::a ? prefs.ctrlSelectAll() : prefs.ctrlClipboard();
        if (enabled && !frontIsTerminal()) {
            const uint64_t flags = flag::command | keepShift;
            if (!(p_.finder && p_.finder->handle(key, flags))) {
                post(key, flags);
                const QString letter = key == keycode::a   ? QStringLiteral("A")
                                       : key == keycode::x ? QStringLiteral("X")
                                       : key == keycode::c ? QStringLiteral("C")
                                                           : QStringLiteral("V");
                hint(QStringLiteral("Ctrl+") + letter, QStringLiteral("⌘ ") + letter);
            }
            return swallow;
        }
    }
    // Ctrl+Z, Y, S, F, N, … and Ctrl+Backspace/Delete, except in terminals, where the Control
    // letters keep their meaning.
    if (closed && controlBit && !commandBit && !option) {
        if (const auto edit = editingKey(key, shift); edit && prefs.ctrlLetters() && !frontIsTerminal()) {
            post(edit->key, edit->flags);
            hint(edit->win, edit->mac);
            return swallow;
        }
    }
    // 20. Ctrl+arrows jump by word.
    if (closed && (key == kLeft || key == kRight) && ctrl && !win && !option && prefs.ctrlWord()) {
        post(key, flag::option | keepShift);
        hint(QStringLiteral("Ctrl+← / →"), QStringLiteral("⌥ ← ~and ⌥ → ~jump ~by ~word"));
        return swallow;
    }
    // 21. Ctrl+plus/minus/zero zoom.
    if (closed && controlBit && !commandBit && !option) {
        if (const auto zoom = ctrlZoomMap(key); zoom && prefs.ctrlZoom()) {
            post(*zoom, flag::command | keepShift);
            hint(QStringLiteral("Ctrl+ + / −"), QStringLiteral("⌘ + ~and ⌘ − ~— ⌘ 0 ~resets"));
            return swallow;
        }
    }
    // 22. Ctrl+Shift+Esc.
    if (closed && key == kEsc && shift && (controlBit || commandBit) && prefs.taskMgr()) {
        p_.mainQueue->post([ws = p_.workspace] {
            ws->open(
                QUrl::fromLocalFile(QStringLiteral("/System/Applications/Utilities/Activity Monitor.app")));
        });
        hint(QStringLiteral("Ctrl+Shift+Esc"), QStringLiteral("⌥ ⌘ Esc ~for ~force-quit"));
        return swallow;
    }
    // 23. Alt+Tab, even with the master switch off.
    if (key == kTab && option && prefs.altTab()) {
        if (capturing) {
            const uint64_t id = snap.switcherPhase.id;
            const int delta = shift ? -1 : 1;
            p_.mainQueue->post([switcher = p_.switcher, id, delta] {
                if (switcher) switcher->move(id, delta);
            });
        } else if (closed) {
            beginSession();
        }
        return swallow;
    }
    // 24.
    if (!capturing) return TapAnswer::pass;
    // 25. Esc cancels the capturing switcher.
    if (key == kEsc) {
        cancelSession(snap.switcherPhase.id);
        return swallow;
    }
    // 26. Every other key drives the switcher.
    const uint64_t id = snap.switcherPhase.id;
    p_.mainQueue->post([switcher = p_.switcher, id, key, f] {
        if (switcher) switcher->handleKey(id, key, f);
    });
    return swallow;
}

void SwitcherController::toggleMasterSwitch() {
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
}

void SwitcherController::screenshot(bool windowOnly) {
    if (windowOnly)
        hint(QStringLiteral("Alt+PrtScn"), QStringLiteral("⇧ ⌘ 4 ~then Space"));
    else
        hint(QStringLiteral("PrtScn"), QStringLiteral("⇧ ⌘ 3 ~— ~add ⌃ ~for ~the ~clipboard"));
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
}

void SwitcherController::snapKey(int64_t key, bool shift) {
    p_.mainQueue->post([this, key, shift] {
        WindowActions* w = p_.windows;
        const Prefs prefs(*p_.prefs);
        const std::optional<WindowRef> front = w ? w->frontmostWindow() : std::nullopt;
        // Leaves native full screen first where needed.
        const auto snapTo = [w, front](SnapKind s) {
            if (!front) return;
            if (w->fullscreenState(*front) == true)
                w->whenNotFullscreen(*front, [w, s, win = *front] { w->applySnap(s, win); });
            else
                w->applySnap(s, *front);
        };
        const QString quadrantWin = QStringLiteral("Win+↑ / ↓");
        const QString quadrantMac = QStringLiteral("~no ~native ~equivalent ~— ~you’re ~welcome");

        if (key == kLeft || key == kRight) {
            const bool left = key == kLeft;
            if (shift) {
                if (front) {
                    if (w->fullscreenState(*front) == true)
                        w->whenNotFullscreen(*front,
                                             [w, left, win = *front] { w->pressTileItem(left, win); });
                    else
                        w->pressTileItem(left, *front);
                }
                hint(QStringLiteral("Shift+Win+← / →"),
                     QStringLiteral("~hold ~the ~green ~button ~to ~tile"));
                return;
            }
            snapTo(left ? SnapKind::left : SnapKind::right);
            hint(QStringLiteral("Win+← / →"),
                 QStringLiteral("~hold ~the ~green ~button, ~then ~pick ~a ~side"));
            if (front && prefs.snapAssist() && p_.assist) p_.assist->show(left, front->id);
            return;
        }
        if (key == kUp && shift) {
            if (front) w->toggleFullscreen(*front);
            hint(QStringLiteral("Shift+Win+↑"), QStringLiteral("⌃ ⌘ F"));
            return;
        }
        const std::optional<SnapKind> current =
            front && prefs.snapQuadrants() ? w->currentSnap(*front) : std::nullopt;
        std::optional<SnapKind> next;
        if (key == kUp && current) {
            if (*current == SnapKind::left) next = SnapKind::topLeft;
            if (*current == SnapKind::right) next = SnapKind::topRight;
            if (*current == SnapKind::bottomLeft) next = SnapKind::left;
            if (*current == SnapKind::bottomRight) next = SnapKind::right;
        } else if (key == kDown && current) {
            if (*current == SnapKind::left) next = SnapKind::bottomLeft;
            if (*current == SnapKind::right) next = SnapKind::bottomRight;
            if (*current == SnapKind::topLeft) next = SnapKind::left;
            if (*current == SnapKind::topRight) next = SnapKind::right;
        }
        if (next) {
            snapTo(*next);
            hint(quadrantWin, quadrantMac);
        } else if (key == kUp) {
            snapTo(SnapKind::maximize);
            hint(QStringLiteral("Win+↑"), QStringLiteral("⌥ ~click ~the ~green ~button"));
        } else {
            if (front) w->minimizeFrontmost();
            hint(QStringLiteral("Win+↓"), QStringLiteral("⌘ M"));
        }
    });
}

void SwitcherController::altF4() {
    switch (readAltF4Action(Prefs(*p_.prefs))) {
    case AltF4Action::closeWindowOrQuit:
        p_.mainQueue->post([w = p_.windows] {
            if (w) w->closeFrontmostWindowOrQuit();
        });
        hint(QStringLiteral("Alt+F4"), QStringLiteral("⌘ W ~closes, ⌘ Q ~quits"));
        break;
    case AltF4Action::close:
        p_.mainQueue->post([this] { post(keycode::w, flag::command); });
        hint(QStringLiteral("Alt+F4"), QStringLiteral("⌘ W ~closes"));
        break;
    case AltF4Action::quit:
        p_.mainQueue->post([this] { post(keycode::q, flag::command); });
        hint(QStringLiteral("Alt+F4"), QStringLiteral("⌘ Q ~quits"));
        break;
    }
}

void SwitcherController::beginSession() {
    const uint64_t id = p_.routing->beginSwitcherSession();
    if (p_.forwarder) p_.forwarder->start(id);
    p_.mainQueue->post([switcher = p_.switcher, id] {
        if (switcher) switcher->open(id);
    });
}

void SwitcherController::cancelSession(uint64_t id) {
    if (!p_.routing->beginSwitcherCancellation(id)) return;
    if (p_.forwarder) p_.forwarder->clearIfSession(id);
    p_.mainQueue->post([switcher = p_.switcher, id] {
        if (switcher) switcher->cancel(id);
    });
}

TapAnswer SwitcherController::pointer(TapEvent& event, const InputRoutingState::Snapshot& snap) {
    const Prefs prefs(*p_.prefs);
    const bool capturing = snap.switcherPhase.kind == Kind::capturing;
    switch (event.type) {
    case eventtype::leftMouseDown: {
        if (snap.moveTarget) {
            swallowMouseUp_ = true;
            p_.mainQueue->post([menu = p_.winMenu] {
                if (menu) menu->endMove(false);
            });
            return TapAnswer::swallow;
        }
        // Only the second press of a double click is considered.
        if (!prefs.dblClickMax() || capturing || event.clickState != 2 || !p_.windows || frontExcluded())
            return TapAnswer::pass;
        const auto hit = p_.windows->titlebarHit(event.location);
        if (!hit) return TapAnswer::pass;
        swallowMouseUp_ = true;
        p_.mainQueue->post([w = p_.windows, win = *hit] {
            if (w->fullscreenState(win) == true)
                w->whenNotFullscreen(win, [w, win] { w->applySnap(SnapKind::maximize, win); });
            else
                w->applySnap(SnapKind::maximize, win);
        });
        hint(QStringLiteral("Double-click title bar"), QStringLiteral("⌥ ~click ~the ~green ~button"));
        return TapAnswer::swallow;
    }
    case eventtype::leftMouseUp:
        if (!swallowMouseUp_) return TapAnswer::pass;
        swallowMouseUp_ = false;
        return TapAnswer::swallow;
    case eventtype::scrollWheel: {
        const double delta = event.scrollDelta;
        if (capturing) {
            if (delta == 0) return TapAnswer::swallow;
            const uint64_t id = snap.switcherPhase.id;
            p_.mainQueue->post([switcher = p_.switcher, id, delta] {
                if (switcher) switcher->changeThumbnailSize(id, delta);
            });
            return TapAnswer::swallow;
        }
        if (!(event.flags & (flag::control | flag::command)) || (event.flags & flag::option) ||
            !prefs.wheelZoom() || frontExcluded())
            return TapAnswer::pass;
        if (delta == 0) return TapAnswer::swallow;
        post(delta > 0 ? kEqual : kMinus, flag::command);
        hint(QStringLiteral("Ctrl+scroll"), QStringLiteral("~pinch, ~or ⌘ + ~and ⌘ −"));
        return TapAnswer::swallow;
    }
    default:
        return TapAnswer::pass;
    }
}

void SwitcherController::sideButton(TapEvent& event) {
    if ((event.buttonNumber == 4 || event.buttonNumber == 5) && Prefs(*p_.prefs).parsecMouseFix() &&
        !frontExcluded() && isParsec(event.sourcePid))
        event.buttonNumber -= 1;
}

bool SwitcherController::isParsec(int64_t pid) {
    if (pid < 1 || pid > INT32_MAX) return false;
    if (const auto it = parsecPidCache_.find(pid); it != parsecPidCache_.end()) return it->second;
    const auto name = p_.processes->processName(static_cast<int32_t>(pid));
    const bool parsec = name && *name == QLatin1String("parsecd");
    parsecPidCache_[pid] = parsec;
    return parsec;
}

void SwitcherController::post(int64_t key, uint64_t flags) const {
    p_.inject->post(static_cast<uint16_t>(key), flags);
}

void SwitcherController::hint(const QString& win, const QString& mac) const {
    if (p_.hints) p_.hints->show(win, mac);
}

bool SwitcherController::frontIsTerminal() const {
    const auto front = p_.workspace->frontmostApp();
    if (!front || !front->bundleID) return false;
    for (const auto& id : terminalBundleIDs)
        if (*front->bundleID == QLatin1String(id.data(), static_cast<qsizetype>(id.size()))) return true;
    return false;
}

bool SwitcherController::frontExcluded() const {
    return p_.exclusions && p_.exclusions->frontExcluded();
}

QString SwitcherController::mods(uint64_t flags) {
    QString out;
    if (flags & flag::shift) out += QLatin1Char('S');
    if (flags & flag::control) out += QLatin1Char('C');
    if (flags & flag::option) out += QLatin1Char('A');
    if (flags & flag::command) out += QLatin1Char('M');
    if (flags & flag::secondaryFn) out += QLatin1Char('F');
    return out.isEmpty() ? QStringLiteral("-") : out;
}

QString SwitcherController::dbg(const TapEvent& e) const {
    QString line = p_.trace->stamp() + QStringLiteral(" type=%1 key=%2 flags=%3/0x%4 srcPid=%5")
                                           .arg(e.type)
                                           .arg(e.keyCode)
                                           .arg(mods(e.flags))
                                           .arg(e.flags, 0, 16)
                                           .arg(e.sourcePid);
    const bool flagsEvent = e.type == eventtype::flagsChanged;
    if (flagsEvent || (e.flags & flag::option)) {
        const uint64_t hid = p_.tap ? p_.tap->modifierState(ModifierState::hardware) : 0;
        const uint64_t session = p_.tap ? p_.tap->modifierState(ModifierState::combinedSession) : 0;
        line += QStringLiteral(" hid=") + mods(hid) + QStringLiteral(" session=") + mods(session);
    }
    if (flagsEvent) {
        const uint64_t all = flag::shift | flag::control | flag::option | flag::command;
        if ((e.flags & all) == all) line += QStringLiteral("\n=== UNSTICK GESTURE ===");
        return line;
    }
    if (e.type == eventtype::scrollWheel)
        line += QStringLiteral(" d1=%1 d2=%2 p1=%3 cont=%4")
                    .arg(static_cast<int64_t>(e.scrollDelta))
                    .arg(static_cast<int64_t>(e.scrollDelta2))
                    .arg(static_cast<int64_t>(e.scrollPointDelta1))
                    .arg(e.scrollContinuous);
    if (e.type == eventtype::systemDefined)
        line += QStringLiteral(" subtype=%1 data1=0x%2")
                    .arg(e.systemSubtype)
                    .arg(static_cast<uint64_t>(e.systemData1), 0, 16);
    return line;
}

} // namespace fenwold

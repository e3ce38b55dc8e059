#include "TapDispatcher.h"

#include "core/hints/HintHUD.h"
#include "core/input/DispatchTargets.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/FinderKeys.h"
#include "core/input/HIDRemap.h"
#include "core/input/HeldClick.h"
#include "core/input/Inject.h"
#include "core/input/KeyActions.h"
#include "core/input/Keys.h"
#include "core/input/ShortcutLayout.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/Trace.h"
#include "core/input/WindowActions.h"
#include "core/settings/Prefs.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"
#include "ports/Processes.h"
#include "ports/Workspace.h"

#include <QLocale>
#include <utility>

namespace fenwold {

namespace {

using Kind = SwitcherPhase::Kind;

} // namespace

TapDispatcher::TapDispatcher(const Parts& parts)
    : p_(parts), actions_(std::make_unique<KeyActions>(p_)),
      ownPid_(p_.workspace ? p_.workspace->ownPid() : 0) {}

uint64_t TapDispatcher::eventMask(bool tracing) {
    uint64_t mask = 0;
    for (uint32_t type : {eventtype::leftMouseDown, eventtype::leftMouseUp, eventtype::leftMouseDragged,
                          eventtype::keyDown, eventtype::keyUp, eventtype::flagsChanged,
                          eventtype::scrollWheel, eventtype::otherMouseDown, eventtype::otherMouseUp})
        mask |= uint64_t{1} << type;
    if (tracing) mask |= uint64_t{1} << eventtype::systemDefined;
    return mask;
}

bool TapDispatcher::makeTap() {
    const uint64_t mask = eventMask(p_.trace && p_.trace->on());
    return p_.tap && p_.tap->start(mask, [this](TapEvent& e) { return tapCallback(e); });
}

bool TapDispatcher::startTap() {
    if (!makeTap()) {
        p_.log->line(QStringLiteral("Fenwold: could not create event tap (accessibility not granted?)"));
        return false;
    }
    p_.log->line(QStringLiteral("Fenwold: event tap active — hold Option and press Tab"));
    return true;
}

TapDispatcher::~TapDispatcher() {
    resumeRetry_.cancel();
    stopTap();
}

void TapDispatcher::stopTap() {
    if (p_.tap) p_.tap->stop();
}

void TapDispatcher::pauseTap() {
    // The permission went away (again): a resume still trying is over.
    resumeRetry_.cancel();
    {
        std::lock_guard lock(tapState_);
        if (tapPaused_) return;
        tapPaused_ = true;
        if (p_.tap) p_.tap->disable();
    }
    p_.log->line(QStringLiteral("Fenwold: accessibility permission revoked — shortcuts paused"));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("TAP PAUSED (accessibility revoked)"));
    if (pauseChanged_) pauseChanged_();
}

void TapDispatcher::resumeTap() {
    if (!tapPaused() || resumeRetry_.isActive()) return;
    resumeAttempts_ = 0;
    tryResume();
}

void TapDispatcher::tryResume() {
    ++resumeAttempts_;
    // The system keeps the key events from a tap that lost the permission, and a tap gets the
    // event types it may see when it is made: a new tap. The old one goes while still paused, so
    // its thread cannot turn it back on; a notice on the new one before the pause ends is made
    // good under the lock.
    stopTap();
    if (!makeTap()) {
        // Still paused, and the menu still says so: no tap is looking at the keys.
        if (resumeAttempts_ == 1)
            p_.log->line(QStringLiteral("Fenwold: accessibility permission restored, but the event tap could "
                                        "not be made — shortcuts stay paused"));
        if (resumeAttempts_ < kResumeAttempts)
            resumeRetry_ = p_.mainQueue->after(kResumeRetrySeconds, [this] { tryResume(); });
        else
            p_.log->line(QStringLiteral("Fenwold: the event tap could not be made after %1 tries — shortcuts "
                                        "stay paused until Accessibility is allowed again")
                             .arg(resumeAttempts_));
        return;
    }
    {
        std::lock_guard lock(tapState_);
        tapPaused_ = false;
        p_.tap->reEnable();
    }
    p_.log->line(QStringLiteral("Fenwold: accessibility permission restored — shortcuts resumed"));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("TAP RESUMED"));
    if (pauseChanged_) pauseChanged_();
}

bool TapDispatcher::tapPaused() const {
    std::lock_guard lock(tapState_);
    return tapPaused_;
}

void TapDispatcher::reEnableUnlessPaused() {
    // Decided and done under the lock a pause takes, so that a pause cannot come in between and
    // be undone.
    std::lock_guard lock(tapState_);
    if (p_.tap && !tapPaused_) p_.tap->reEnable();
}

TapAnswer TapDispatcher::tapCallback(TapEvent& event) {
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

TapAnswer TapDispatcher::tapDisabled(const TapEvent& event) {
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
    if (p_.drag) p_.drag->abandon();
    if (p_.heldClick) p_.heldClick->forget();
    swallowMouseUp_ = false;
    f19Held_ = false;
    winAloneSince_.reset();
    swallowedKeys_.clear();
    reEnableUnlessPaused();
    return TapAnswer::pass;
}

TapAnswer TapDispatcher::handle(TapEvent& event) {
    if (p_.trace && p_.trace->on()) p_.trace->write(dbg(event));
    // The program's own events, by their marker, or by their source when the way they were posted
    // (into the session, as the keyboard's) may not keep it.
    if (event.sourceUserData == kOwnEventMarker || (event.sourcePid != 0 && event.sourcePid == ownPid_))
        return TapAnswer::pass;
    if (event.type == eventtype::systemDefined) return TapAnswer::pass;
    // The busiest event while a button is down: only the window drag wants it.
    if (event.type == eventtype::leftMouseDragged) {
        if (p_.heldClick && p_.heldClick->dragged(event)) return TapAnswer::swallow;
        if (p_.drag) p_.drag->dragged(event.location);
        return TapAnswer::pass;
    }
    // A held press keeps its release whatever opened since: the two go back, or go, together.
    if (event.type == eventtype::leftMouseUp && p_.heldClick && p_.heldClick->released(event))
        return TapAnswer::swallow;

    // The swap matters only to an event with Control or Command and to a change of the modifiers
    // (which Win was let go): a key typed without them, most typing, reads no preference.
    const uint64_t both = flag::control | flag::command;
    const bool swap =
        (event.type == eventtype::flagsChanged || (event.flags & both)) && Prefs(*p_.prefs).swapCtrlCmd();
    // Hardware events were swapped below the tap already; keep other programs' synthetic
    // events consistent with the physical keys.
    if (swap && event.sourcePid != 0) {
        const uint64_t bits = event.flags & both;
        if (bits == flag::control || bits == flag::command)
            event.flags = (event.flags & ~both) | (bits ^ both);
    }

    if (event.type == eventtype::otherMouseDown || event.type == eventtype::otherMouseUp) {
        sideButton(event);
        return TapAnswer::pass;
    }
    const bool isKey = event.type == eventtype::keyDown || event.type == eventtype::keyUp;
    if (isKey && p_.layout) p_.layout->keyboardTyped(static_cast<uint32_t>(event.keyboardType));
    if (isKey && f19(event)) return TapAnswer::swallow;

    // Win, and left Alt with Shift, count as pressed alone only while nothing else happens before
    // their release.
    if (event.type != eventtype::flagsChanged) {
        winAloneSince_.reset();
        altShiftStage_ = 0;
    }
    const InputRoutingState::Snapshot snap = p_.routing->snapshot();
    // A held-back Finder key needs its release even if an overlay opened meanwhile; otherwise it
    // would stay pending and every later press of that key would be taken for an autorepeat.
    if (event.type == eventtype::keyUp && p_.finder && p_.finder->handleKeyUp(event.keyCode))
        return TapAnswer::swallow;
    if (snap.clipboardOpen) return TapAnswer::pass;
    const SwitcherPhase phase = snap.switcherPhase;
    if (phase.kind == Kind::cancelling) return TapAnswer::pass;
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
        flagsChanged(event, snap, swap);
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

bool TapDispatcher::f19(TapEvent& event) {
    // Only F19 itself and the keys pressed while it is held are its business.
    if (event.keyCode != kF19 && !f19Held_) return false;
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

void TapDispatcher::flagsChanged(const TapEvent& event, const InputRoutingState::Snapshot& snap, bool swap) {
    const uint64_t held = event.flags & kModifierFlags;
    const uint64_t before = std::exchange(modifiersHeld_, held);
    winAlone(held, before, snap, swap);
    altShift(event, held, before, snap);
    if (snap.switcherPhase.kind != Kind::capturing || (event.flags & flag::option)) return;
    const uint64_t id = snap.switcherPhase.id;
    if (!p_.routing->commitSwitcherSession(id)) return;
    p_.mainQueue->post([switcher = p_.switcher, id] {
        if (switcher) switcher->commit(id);
    });
}

bool TapDispatcher::overlayOpen(const InputRoutingState::Snapshot& snap) {
    return !snap.switcherPhase.isClosed() || snap.snapAssistOpen || snap.snapLayoutsOpen || snap.moveTarget;
}

void TapDispatcher::winAlone(uint64_t held, uint64_t before, const InputRoutingState::Snapshot& snap,
                             bool swap) {
    const uint64_t win = winMask(swap);
    if (held == win) {
        // Win went down with nothing else held; a second Win key, or another modifier let go
        // before Win, is not a press alone.
        winAloneSince_ = before == 0 ? std::optional<double>(p_.mainQueue->uptime()) : std::nullopt;
        return;
    }
    const std::optional<double> since = std::exchange(winAloneSince_, std::nullopt);
    if (held != 0 || before != win || !since || p_.mainQueue->uptime() - *since > kWinAloneSeconds) return;
    // Released with nothing between. The press itself was never delayed or swallowed: Spotlight
    // only follows it, and only while nothing else owns the keyboard.
    if (overlayOpen(snap) || !Prefs(*p_.prefs).winAlone() || !p_.winKeys || frontExcluded()) return;
    p_.winKeys->openSpotlight();
    actions_->hint(QStringLiteral("Win"), QStringLiteral("⌘ Space ~for ~Spotlight"));
}

void TapDispatcher::altShift(const TapEvent& event, uint64_t held, uint64_t before,
                             const InputRoutingState::Snapshot& snap) {
    // Only Shift and the left Option key (the right one is AltGr on many layouts, where Shift
    // with it types characters).
    const bool leftOption = (event.flags & flag::leftOption) && !(event.flags & flag::rightOption);
    if ((held & ~(flag::shift | flag::option)) != 0 || ((held & flag::option) && !leftOption)) {
        altShiftStage_ = 0;
        return;
    }
    if (before == 0 && held != 0) altShiftStage_ = 1;
    if (altShiftStage_ != 0 && held == (flag::shift | flag::option)) altShiftStage_ = 2;
    if (held != 0) return;
    const bool both = std::exchange(altShiftStage_, uint8_t{0}) == 2;
    if (!both || overlayOpen(snap) || !Prefs(*p_.prefs).altShiftSource() || !p_.inputSources ||
        frontExcluded())
        return;
    p_.mainQueue->post([sources = p_.inputSources] { InputSource::cycle(*sources); });
    actions_->hint(QStringLiteral("Left Alt+Shift"), QStringLiteral("⌃ ⌥ Space ~selects ~the ~next ~source"));
}

TapAnswer TapDispatcher::keyDown(TapEvent& event, const InputRoutingState::Snapshot& snap, bool swap) {
    // Esc while a window is dragged by its title bar calls its snap off, and goes no further.
    if (event.keyCode == kEsc && p_.drag && p_.drag->escape()) return TapAnswer::swallow;
    const KeyPress press = KeyPress::of(event, snap, layoutTable(), swap);
    return runKeyRows(*actions_, press, Prefs(*p_.prefs));
}

const KeyLayoutTable& TapDispatcher::layoutTable() const {
    static const KeyLayoutTable us = KeyLayoutTable::us();
    return p_.layout ? p_.layout->table() : us;
}

TapAnswer TapDispatcher::pointer(TapEvent& event, const InputRoutingState::Snapshot& snap) {
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
        // A press that may be one of the program's clicks waits for the main thread's answer.
        if (!capturing && holdForClickTarget(event)) return TapAnswer::swallow;
        // A single press may pick a window up by its title bar.
        if (event.clickState < 2 && p_.drag && !capturing) p_.drag->pressed(event.location);
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
        actions_->hint(QStringLiteral("Double-click title bar"),
                       QStringLiteral("⌥ ~click ~the ~green ~button"));
        return TapAnswer::swallow;
    }
    case eventtype::leftMouseUp:
        if (p_.drag) p_.drag->released(event.location);
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
        // The keys that give plus and minus on the user's layout; without one the wheel passes.
        const auto zoom = KeyActions::keyGiving(delta > 0 ? U'+' : U'-', layoutTable());
        if (!zoom) return TapAnswer::pass;
        p_.inject->post(*zoom, flag::command);
        actions_->hint(QStringLiteral("Ctrl+scroll"), QStringLiteral("~pinch, ~or ⌘ + ~and ⌘ −"));
        return TapAnswer::swallow;
    }
    default:
        return TapAnswer::pass;
    }
}

bool TapDispatcher::holdForClickTarget(const TapEvent& event) {
    if (!p_.heldClick) return false;
    for (ClickTarget* target : p_.clickTargets) {
        if (!target || !target->mayTake(event.location, event.flags)) continue;
        p_.heldClick->hold(event, *target);
        return true;
    }
    return false;
}

void TapDispatcher::sideButton(TapEvent& event) {
    if ((event.buttonNumber == 4 || event.buttonNumber == 5) && Prefs(*p_.prefs).parsecMouseFix() &&
        !frontExcluded() && isParsec(event.sourcePid))
        event.buttonNumber -= 1;
}

bool TapDispatcher::isParsec(int64_t pid) {
    if (pid < 1 || pid > INT32_MAX) return false;
    if (const auto it = parsecPidCache_.find(pid); it != parsecPidCache_.end()) return it->second;
    const auto name = p_.processes->processName(static_cast<int32_t>(pid));
    const bool parsec = name && *name == QLatin1String("parsecd");
    parsecPidCache_[pid] = parsec;
    return parsec;
}

bool TapDispatcher::frontExcluded() const {
    return actions_->frontExcluded();
}

QString TapDispatcher::mods(uint64_t flags) {
    QString out;
    if (flags & flag::shift) out += QLatin1Char('S');
    if (flags & flag::control) out += QLatin1Char('C');
    if (flags & flag::option) out += QLatin1Char('A');
    if (flags & flag::command) out += QLatin1Char('M');
    if (flags & flag::secondaryFn) out += QLatin1Char('F');
    return out.isEmpty() ? QStringLiteral("-") : out;
}

QString TapDispatcher::dbg(const TapEvent& e) const {
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

#include "ModuleChecks.h"

#include "core/hints/HintHUD.h"
#include "core/input/FinderKeys.h"
#include "core/input/HIDRemap.h"
#include "core/input/InputRoutingState.h"
#include "core/input/SwallowedKeys.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/peek/DockTarget.h"
#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"
#include "core/switcher/TileGrid.h"
#include "platform/sim/SimInputSources.h"
#include "ports/KeyCodes.h"

#include <array>
#include <limits>

namespace fenwold {

bool prefsSelfcheck(PrefsStore& scratch, QStringList& failures) {
    const auto before = failures.size();
    Prefs p(scratch);
    scratch.write(PrefKey::winV, true);
    p.registerDefaults();
    if (!p.winV()) failures << "Prefs: a stored value was replaced by its default";
    if (!p.altTab() || p.winD()) failures << "Prefs: registered defaults are wrong";
    p.set(PrefKey::shortcutsEnabled, false);
    if (p.winV() || p.snapKeys() || !p.altTab()) failures << "Prefs: master switch does not gate shortcuts";
    p.set(PrefKey::shortcutsEnabled, true);
    p.set(PrefKey::swapCtrlCmd, true);
    if (p.ctrlClipboard()) failures << "Prefs: swapRow is on while the hardware swap is on";
    const std::array<std::pair<double, double>, 4> clamps = {{{500, 280}, {50, 90}, {0, 140}, {-3, 140}}};
    for (auto [stored, expected] : clamps) {
        p.setThumbH(stored);
        if (p.thumbH() != expected)
            failures << QString("Prefs: thumbH %1 read as %2").arg(stored).arg(p.thumbH());
    }
    return failures.size() == before;
}

bool altF4ActionSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    for (AltF4Action a : kAltF4Actions) {
        if (altF4ActionFromRaw(rawValue(a)) != a) failures << "AltF4Action: raw value does not round-trip";
    }
    for (const char* other : {"", "unknown", "Close", "closeWindowOrQuit"}) {
        if (altF4ActionFromRaw(QString::fromLatin1(other)) != AltF4Action::closeWindowOrQuit)
            failures << QString("AltF4Action: '%1' is not closeWindowOrQuit").arg(other);
    }
    return failures.size() == before;
}

bool hidRemapSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    const auto all = HIDRemap::mapping(true, true, true);
    if (all.size() != 6 || all[4].first != hidusage::capsLock || all[5].first != hidusage::f19)
        failures << "HIDRemap: every remap on does not give six pairs in order";
    if (HIDRemap::json(HIDRemap::mapping(false, true, false)) !=
        QStringLiteral("{\"UserKeyMapping\":[{\"HIDKeyboardModifierMappingSrc\":0x700000039,"
                       "\"HIDKeyboardModifierMappingDst\":0xff00000003}]}"))
        failures << "HIDRemap: the Caps Lock wire text is wrong";
    if (HIDRemap::json({}) != QStringLiteral("{\"UserKeyMapping\":[]}"))
        failures << "HIDRemap: the empty mapping is wrong";
    return failures.size() == before;
}

bool inputSourceSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    SimInputSources s;
    s.setSources({{"us", true, true, true}, {"de", true, false, true}, {"fr", true, true, true}}, "fr");
    InputSource::cycle(s);
    if (s.current() != "us")
        failures << "InputSource: the last source did not wrap to the first, skipping disabled ones";
    s.setSources({{"us", true, true, true}}, "us");
    InputSource::cycle(s);
    if (s.current() != "us") failures << "InputSource: a single source was changed";
    return failures.size() == before;
}

bool inputRoutingStateSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    InputRoutingState r;
    const uint64_t first = r.beginSwitcherSession();
    const uint64_t second = r.beginSwitcherSession();
    if (first != 1 || second != 2) failures << "InputRoutingState: ids are not issued 1, 2";
    if (r.beginSwitcherCancellation(first)) failures << "InputRoutingState: a stale id cancelled the session";
    if (!r.commitSwitcherSession(second) || r.snapshot().switcherPhase != SwitcherPhase::committing(second))
        failures << "InputRoutingState: Alt release did not commit";
    if (!r.endSwitcherSession(second) || r.beginSwitcherCancellation(second))
        failures << "InputRoutingState: a closed session could still be cancelled";
    r.setLastIssuedID(std::numeric_limits<uint64_t>::max());
    if (r.beginSwitcherSession() != 1) failures << "InputRoutingState: the id did not wrap to 1";
    return failures.size() == before;
}

bool swallowedKeysSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    SwallowedKeys s;
    s.insert(8);
    s.insert(8);
    if (!s.remove(8) || s.remove(8)) failures << "SwallowedKeys: a code was not removed exactly once";
    s.insert(9);
    s.clear();
    if (!s.empty()) failures << "SwallowedKeys: clear left codes behind";
    return failures.size() == before;
}

bool switcherKeyForwarderSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    InputRoutingState routing;
    std::vector<std::pair<uint16_t, int32_t>> delivered;
    SwitcherKeyForwarder f(routing, [&](uint16_t key, uint64_t, int32_t pid) {
        delivered.push_back({key, pid});
    });
    const uint64_t id = routing.beginSwitcherSession();
    f.start(id);
    routing.commitSwitcherSession(id);
    if (!f.capture(id, kV, flag::command, true))
        failures << "SwitcherKeyForwarder: a committing key was not captured";
    f.resolve(id, 42);
    if (!delivered.empty()) failures << "SwitcherKeyForwarder: replayed while a key was still held";
    f.capture(id, kV, flag::command, false);
    if (delivered != std::vector<std::pair<uint16_t, int32_t>>{{kV, 42}})
        failures << "SwitcherKeyForwarder: the stroke was not replayed once to the target";
    if (!routing.snapshot().switcherPhase.isClosed())
        failures << "SwitcherKeyForwarder: the session did not end";
    if (f.capture(id, 0, 0, true)) failures << "SwitcherKeyForwarder: captured after the session ended";
    return failures.size() == before;
}

bool finderKeysSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    CutState cut;
    if (cut.on(U'x', true) != CutState::Verb::copyInstead || cut.on(U'v', true) != CutState::Verb::move)
        failures << "FinderKeys: cut then paste in Finder is not a move";
    cut.on(U'x', true);
    cut.on(U'v', false);
    if (cut.on(U'v', true) != CutState::Verb::pass) failures << "FinderKeys: a paste elsewhere kept the cut";

    PlainKeyCoordinator c;
    std::optional<PlainKeyCoordinator::Delivery> ready;
    const PlainKeyCoordinator::Mapping f2{kF2, kReturn, 0, 0};
    std::optional<PlainKeyCoordinator::Delivery> repeat;
    c.begin(f2, 0, 7, repeat);
    if (c.begin(f2, 0, 7, repeat) || repeat) failures << "FinderKeys: an autorepeat began a second entry";
    c.resolve(kF2, false, 7, ready);
    if (ready) failures << "FinderKeys: delivered before the key was released";
    c.release(kF2, ready);
    if (ready != PlainKeyCoordinator::Delivery{kReturn, 0, 7})
        failures << "FinderKeys: F2 was not delivered as Return";
    return failures.size() == before;
}

bool hintsSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    using S = Hint::Segment;
    const std::vector<S> closes = {S::key("⌘"), S::key("W"), S::words("closes,"),
                                   S::key("⌘"), S::key("Q"), S::words("quits")};
    if (Hint::segments(QStringLiteral("⌘ W ~closes, ⌘ Q ~quits")) != closes)
        failures << "MacHints: keycaps and words are not split as written";
    if (Hint::segments(QStringLiteral("~no ~native ~equivalent")) !=
        std::vector<S>{S::words("no native equivalent")})
        failures << "MacHints: consecutive words do not form one run";
    if (!Hint::segments(QStringLiteral("   ")).empty()) failures << "MacHints: spaces alone gave segments";
    if (Hint{"Alt+F4", "", std::nullopt}.heading() != QStringLiteral("Alt+F4 — the Mac way"))
        failures << "MacHints: the default heading is wrong";
    return failures.size() == before;
}

bool dockTargetSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    if (DockTarget::app(501, {10, 0, 64, 64}).key() != "p501")
        failures << "DockTarget: application key is not p<pid>";
    if (DockTarget::idle({100, 4, 64, 64}).key() != "r100.0" ||
        DockTarget::idle({12.5, 4, 64, 64}).key() != "r12.5")
        failures << "DockTarget: idle key is not r<left edge>";
    if (pidFromKey("p501") != 501 || pidFromKey("r100.0") || pidFromKey("p") || pidFromKey("p12x"))
        failures << "DockTarget: process id not read back from keys";
    WindowInfo a;
    a.id = 7;
    a.title = QStringLiteral("Notes");
    WindowInfo withImage = a;
    withImage.thumb = QImage(4, 4, QImage::Format_ARGB32);
    if (peekListChanged({withImage}, {a})) failures << "DockTarget: a new preview counted as a list change";
    WindowInfo minimized = a;
    minimized.isMinimized = true;
    WindowInfo b = a;
    b.id = 8;
    if (!peekListChanged({minimized}, {a}) || !peekListChanged({a, b}, {b, a}) || !peekListChanged({a}, {}))
        failures << "DockTarget: a changed list was not noticed";
    return failures.size() == before;
}

bool metricsSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    Metrics m;
    WindowInfo wide;
    wide.aspect = 10;
    WindowInfo narrow;
    narrow.aspect = 0.1;
    if (m.thumbWidth(wide) != 2.6 * 140 || m.thumbWidth(narrow) != 0.72 * 140)
        failures << "Metrics: thumbnail width is not clamped to 0.72...2.6 of the height";
    if (m.tileHeight() != 196) failures << "Metrics: tile height is not thumbH + 56";
    const FlowLayout empty = flowRows({}, 400, m);
    if (empty.rows.size() != 1 || empty.size.width != 40 || empty.size.height != 236)
        failures << "Metrics: an empty grid is not one empty row of 40 × (thumbH + 96)";
    m.setPreferred(1000);
    if (m.preferredThumbH != 280) failures << "Metrics: the preferred height is not clamped to 280";
    m.setPreferred(-1);
    if (m.preferredThumbH != 280) failures << "Metrics: a non-positive preference was taken";
    return failures.size() == before;
}

} // namespace fenwold

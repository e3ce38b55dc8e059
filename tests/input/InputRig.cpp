#include "InputRig.h"
#include "support/DispatchParts.h"

namespace fenwold::testing {

QString snapName(SnapKind s) {
    static const char* names[] = {"left",        "right",      "maximize",      "topLeft",
                                  "topRight",    "bottomLeft", "bottomRight",   "leftThird",
                                  "centreThird", "rightThird", "leftTwoThirds", "rightTwoThirds"};
    return QString::fromLatin1(names[static_cast<int>(s)]);
}

namespace {

TapDispatcher::Parts partsOf(InputRig& r) {
    TapDispatcher::Parts p = dispatchPartsOf(r.sim, r.routing);
    p.inject = &r.inject;
    p.hints = &r.hud;
    p.finder = &r.finder;
    p.winKeys = &r.winKeys;
    p.forwarder = &r.forwarder;
    p.switcher = &r.switcher;
    p.assist = &r.assist;
    p.winMenu = &r.menu;
    p.layouts = &r.layouts;
    p.windows = &r.windows;
    p.exclusions = &r.exclusions;
    p.layout = &r.layout;
    p.menus = &r.menus;
    p.clickTargets = {&r.clickTarget, nullptr};
    p.heldClick = &r.heldClick;
    return p;
}

} // namespace

InputRig::InputRig()
    : hud(sim.prefs, sim.mainQueue, sim.screens,
          [this] {
              auto p = std::make_unique<RecordingHintPanel>();
              panel = p.get();
              return p;
          }),
      finder(sim.prefs, sim.workspace, sim.accessibility, sim.mainQueue, inject, hud, sim.log, &menus),
      winKeys(sim.prefs, sim.mainQueue, sim.workspace, sim.accessibility, sim.privateServices, inject,
              FenwoldKeys::Targets{&windows, &shelf, &quickLinks, &layout, &menus}, 15),
      forwarder(routing, [this](uint16_t key, uint64_t flags, int32_t pid) { inject.post(key, flags, pid); }),
      dispatcher(partsOf(*this)) {
    Prefs(sim.prefs).registerDefaults();
    set(PrefKey::macHints, true);
    textEdit = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    sim.eventTap.start(TapDispatcher::eventMask(false),
                       [this](TapEvent& e) { return dispatcher.tapCallback(e); });
}

TapAnswer InputRig::feed(TapEvent e) {
    const TapAnswer a = sim.eventTap.feed(e);
    return a;
}

TapAnswer InputRig::down(int64_t key, uint64_t flags, KeyEventOptions o) {
    TapEvent e;
    e.type = eventtype::keyDown;
    e.keyCode = key;
    e.flags = flags;
    e.autorepeat = o.autorepeat ? 1 : 0;
    e.sourcePid = o.sourcePid;
    return feed(e);
}

TapAnswer InputRig::up(int64_t key, uint64_t flags, KeyEventOptions o) {
    TapEvent e;
    e.type = eventtype::keyUp;
    e.keyCode = key;
    e.flags = flags;
    e.sourcePid = o.sourcePid;
    return feed(e);
}

std::pair<TapAnswer, TapAnswer> InputRig::press(int64_t key, uint64_t flags) {
    const TapAnswer d = down(key, flags);
    return {d, up(key, flags)};
}

TapAnswer InputRig::flagsChanged(uint64_t flags) {
    TapEvent e;
    e.type = eventtype::flagsChanged;
    e.flags = flags;
    return feed(e);
}

namespace {
QString postedLine(bool down, int key, uint64_t flags, int32_t pid) {
    return QStringLiteral("%1 %2 0x%3 -> %4").arg(down ? "down" : "up").arg(key).arg(flags, 0, 16).arg(pid);
}
} // namespace

QStringList postedPair(int key, uint64_t flags, int32_t pid) {
    return {postedLine(true, key, flags, pid), postedLine(false, key, flags, pid)};
}

QStringList InputRig::posted() const {
    QStringList out;
    for (const auto& k : sim.keys.posted())
        out << postedLine(k.keyDown, k.keyCode, k.flags, k.pid);
    return out;
}

} // namespace fenwold::testing

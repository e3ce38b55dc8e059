#include "HIDRemap.h"

#include "core/settings/Prefs.h"
#include "ports/InputSources.h"
#include "ports/Log.h"
#include "ports/Processes.h"

namespace fenwold {

std::vector<HIDRemap::Pair> HIDRemap::mapping(bool swap, bool caps, bool f19key) {
    std::vector<Pair> pairs;
    if (swap) {
        pairs.push_back({hidusage::leftControl, hidusage::leftCommand});
        pairs.push_back({hidusage::leftCommand, hidusage::leftControl});
        pairs.push_back({hidusage::rightControl, hidusage::rightCommand});
        pairs.push_back({hidusage::rightCommand, hidusage::rightControl});
    }
    if (caps) pairs.push_back({hidusage::capsLock, hidusage::globe});
    if (f19key) pairs.push_back({hidusage::f19, hidusage::globe});
    return pairs;
}

QString HIDRemap::json(const std::vector<Pair>& pairs) {
    QStringList objects;
    for (const auto& [src, dst] : pairs)
        objects << QStringLiteral(
                       "{\"HIDKeyboardModifierMappingSrc\":0x%1,\"HIDKeyboardModifierMappingDst\":0x%2}")
                       .arg(src, 0, 16)
                       .arg(dst, 0, 16);
    return QStringLiteral("{\"UserKeyMapping\":[") + objects.join(QLatin1Char(',')) + QStringLiteral("]}");
}

void HIDRemap::set(const std::vector<Pair>& pairs) const {
    const QStringList args = {QStringLiteral("property"), QStringLiteral("--set"), json(pairs)};
    QString error;
    if (!processes_->launch(QStringLiteral("/usr/bin/hidutil"), args, &error))
        log_->line(QStringLiteral("Fenwold: hidutil failed — %1").arg(error));
}

void HIDRemap::apply() const {
    const Prefs p(*prefs_);
    set(mapping(p.swapCtrlCmd(), p.capsGlobe(), p.f19Globe()));
}

bool HIDRemap::isActive() const {
    const Prefs p(*prefs_);
    return p.swapCtrlCmd() || p.capsGlobe() || p.f19Globe();
}

void InputSource::cycle(InputSources& sources, bool backward) {
    std::vector<InputSourceInfo> kept;
    for (const auto& s : sources.sources())
        if (s.isKeyboardLayout && s.selectCapable && s.enabled) kept.push_back(s);
    if (kept.size() < 2) return;
    const auto current = sources.current();
    for (size_t i = 0; i < kept.size(); ++i) {
        // A source without an id matches a current source without one.
        const bool same = current ? kept[i].id == *current : kept[i].id.isEmpty();
        if (same) {
            sources.select(kept[(i + (backward ? kept.size() - 1 : 1)) % kept.size()].id);
            return;
        }
    }
}

} // namespace fenwold

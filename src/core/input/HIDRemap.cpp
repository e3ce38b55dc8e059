#include "HIDRemap.h"

#include "core/settings/Prefs.h"
#include "ports/InputSources.h"
#include "ports/Log.h"
#include "ports/Processes.h"

namespace fenwold {

// HID usages (page and usage in one number) as the key mapping names the keys.
namespace usage {
constexpr uint64_t leftControl = 0x7000000E0, leftCommand = 0x7000000E3;
constexpr uint64_t rightControl = 0x7000000E4, rightCommand = 0x7000000E7;
constexpr uint64_t capsLock = 0x700000039, f19 = 0x70000006E, globe = 0xFF00000003;
} // namespace usage

std::vector<HIDRemap::Pair> HIDRemap::mapping(bool swap, bool caps, bool f19key) {
    std::vector<Pair> pairs;
    if (swap) {
        pairs.push_back({usage::leftControl, usage::leftCommand});
        pairs.push_back({usage::leftCommand, usage::leftControl});
        pairs.push_back({usage::rightControl, usage::rightCommand});
        pairs.push_back({usage::rightCommand, usage::rightControl});
    }
    if (caps) pairs.push_back({usage::capsLock, usage::globe});
    if (f19key) pairs.push_back({usage::f19, usage::globe});
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

bool HIDRemap::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    const auto all = mapping(true, true, true);
    if (all.size() != 6 || all[4].first != usage::capsLock || all[5].first != usage::f19)
        failures << "HIDRemap: every remap on does not give six pairs in order";
    if (json(mapping(false, true, false)) !=
        QStringLiteral("{\"UserKeyMapping\":[{\"HIDKeyboardModifierMappingSrc\":0x700000039,"
                       "\"HIDKeyboardModifierMappingDst\":0xff00000003}]}"))
        failures << "HIDRemap: the Caps Lock wire text is wrong";
    if (json({}) != QStringLiteral("{\"UserKeyMapping\":[]}"))
        failures << "HIDRemap: the empty mapping is wrong";
    return failures.size() == before;
}

void InputSource::cycle(InputSources& sources) {
    std::vector<InputSourceInfo> kept;
    for (const auto& s : sources.sources())
        if (s.isKeyboardLayout && s.selectCapable && s.enabled) kept.push_back(s);
    if (kept.size() < 2) return;
    const auto current = sources.current();
    for (size_t i = 0; i < kept.size(); ++i) {
        // A source without an id matches a current source without one.
        const bool same = current ? kept[i].id == *current : kept[i].id.isEmpty();
        if (same) {
            sources.select(kept[(i + 1) % kept.size()].id);
            return;
        }
    }
}

namespace {

// A scratch source list for the self-check.
class ScratchSources final : public InputSources {
public:
    std::vector<InputSourceInfo> list;
    QString now;
    std::vector<InputSourceInfo> sources() const override { return list; }
    std::optional<QString> current() const override { return now; }
    bool select(const QString& id) override {
        now = id;
        return true;
    }
};

} // namespace

bool InputSource::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    ScratchSources s;
    s.list = {{"us", true, true, true}, {"de", true, false, true}, {"fr", true, true, true}};
    s.now = "fr";
    cycle(s);
    if (s.now != "us")
        failures << "InputSource: the last source did not wrap to the first, skipping disabled ones";
    s.list = {{"us", true, true, true}};
    cycle(s);
    if (s.now != "us") failures << "InputSource: a single source was changed";
    return failures.size() == before;
}

} // namespace fenwold

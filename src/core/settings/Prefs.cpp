#include "Prefs.h"

#include <QStringList>
#include <array>
#include <cmath>

namespace fenwold {

void Prefs::registerDefaults() const {
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        if (kPrefDeclarations[i].registered)
            store_->registerDefault(static_cast<PrefKey>(i), kPrefDeclarations[i].defaultValue);
}

bool Prefs::flag(PrefKey key) const {
    const PrefValue v = store_->read(key);
    if (const bool* b = std::get_if<bool>(&v)) return *b;
    // Numbers stored for Booleans (as `defaults write -int 1` does) read as their truth value.
    if (const double* d = std::get_if<double>(&v)) return *d != 0;
    return false;
}

bool Prefs::on(PrefKey key) const {
    switch (declarationOf(key).kind) {
    case PrefKind::setting:
        return on<PrefKind::setting>(key);
    case PrefKind::shortcut:
    case PrefKind::winKey:
        return on<PrefKind::shortcut>(key);
    case PrefKind::ctrlToCmd:
        return on<PrefKind::ctrlToCmd>(key);
    }
    return false;
}

bool Prefs::swapRow(const QString& keyName) const {
    const auto key = keyNamed(keyName);
    return key && !flag(PrefKey::swapCtrlCmd) && flag(PrefKey::shortcutsEnabled) && flag(*key);
}

double Prefs::thumbH() const {
    const PrefValue v = store_->read(PrefKey::thumbH);
    const double* d = std::get_if<double>(&v);
    if (!d || !std::isfinite(*d) || *d <= 0) return kDefaultThumbH;
    return std::clamp(*d, kMinThumbH, kMaxThumbH);
}

QStringList Prefs::excludedApps() const {
    const PrefValue v = store_->read(PrefKey::excludedApps);
    if (const QStringList* list = std::get_if<QStringList>(&v)) return *list;
    return {};
}

void Prefs::setExcludedApps(const QStringList& bundleIDs) const {
    store_->write(PrefKey::excludedApps, bundleIDs.isEmpty() ? PrefValue() : PrefValue(bundleIDs));
}

void Prefs::setThumbH(double value) const {
    store_->write(PrefKey::thumbH, value);
}

std::optional<PrefKey> Prefs::keyNamed(const QString& name) {
    for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
        const std::string_view n = kPrefDeclarations[i].name;
        if (name == QLatin1String(n.data(), static_cast<qsizetype>(n.size()))) return static_cast<PrefKey>(i);
    }
    return std::nullopt;
}

bool Prefs::selfcheck(PrefsStore& scratch, QStringList& failures) {
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

} // namespace fenwold

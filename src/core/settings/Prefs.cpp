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

} // namespace fenwold

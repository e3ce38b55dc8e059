#include "Prefs.h"

#include <QStringList>
#include <array>
#include <cmath>

namespace fenwold {

namespace {

struct Default {
    PrefKey key;
    bool value;
};

constexpr std::array<Default, 40> kDefaults = {{
    {PrefKey::shortcutsEnabled, true},
    {PrefKey::altTab, true},
    {PrefKey::dockPeek, true},
    {PrefKey::snapKeys, true},
    {PrefKey::screenshotKeys, true},
    {PrefKey::wheelZoom, true},
    {PrefKey::launchAtLogin, true},
    {PrefKey::altF4, true},
    {PrefKey::ctrlF4, true},
    {PrefKey::taskMgr, true},
    {PrefKey::finderF2, true},
    {PrefKey::finderCut, true},
    {PrefKey::finderDelete, true},
    {PrefKey::finderEnter, true},
    {PrefKey::ctrlClipboard, true},
    {PrefKey::ctrlSelectAll, true},
    {PrefKey::ctrlZoom, true},
    {PrefKey::insertClipboard, true},
    {PrefKey::snapQuadrants, true},
    {PrefKey::snapAssist, true},
    {PrefKey::peekBadges, true},
    {PrefKey::peekEmpty, true},
    {PrefKey::parsecMouseFix, true},
    {PrefKey::winD, false},
    {PrefKey::winE, false},
    {PrefKey::winL, false},
    {PrefKey::winM, false},
    {PrefKey::winNum, false},
    {PrefKey::winTab, false},
    {PrefKey::winR, false},
    {PrefKey::winV, false},
    {PrefKey::homeEnd, false},
    {PrefKey::ctrlWord, false},
    {PrefKey::dblClickMax, false},
    {PrefKey::altSpace, false},
    {PrefKey::macHints, false},
    {PrefKey::swapCtrlCmd, false},
    {PrefKey::capsGlobe, false},
    {PrefKey::f19Globe, false},
    {PrefKey::ctrlLetters, true},
}};

} // namespace

void Prefs::registerDefaults() const {
    for (const auto& d : kDefaults)
        store_->registerDefault(d.key, d.value);
}

bool Prefs::flag(PrefKey key) const {
    const PrefValue v = store_->read(key);
    if (const bool* b = std::get_if<bool>(&v)) return *b;
    // Numbers stored for Booleans (as `defaults write -int 1` does) read as their truth value.
    if (const double* d = std::get_if<double>(&v)) return *d != 0;
    return false;
}

bool Prefs::swapRow(const QString& keyName) const {
    const auto key = keyNamed(keyName);
    return key && swapRow(*key);
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
        if (name == QLatin1String(kPrefKeyNames[i].data(), static_cast<qsizetype>(kPrefKeyNames[i].size())))
            return static_cast<PrefKey>(i);
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

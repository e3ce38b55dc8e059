#pragma once

#include "ports/PrefsStore.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fenwold {

// The program's preferences, read at the moment of use. A thin view over the store: copying
// it is cheap and it holds no state of its own. Shortcut accessors are gated by the master
// switch, so turning `shortcutsEnabled` off silences them all on the very next event.
class Prefs {
public:
    explicit Prefs(PrefsStore& store) : store_(&store) {}

    static constexpr double kDefaultThumbH = 140;
    static constexpr double kMinThumbH = 90;
    static constexpr double kMaxThumbH = 280;

    // Registers the Boolean defaults the declarations give; stored values keep precedence.
    void registerDefaults() const;

    // The stored Boolean of a key (false when absent or not a Boolean), without the master switch.
    bool flag(PrefKey key) const;
    // A switch as the program obeys it: settings as stored; shortcuts off while the master
    // switch is off; the software Control-to-Command rows also off while the hardware swap is on.
    bool on(PrefKey key) const;
    // The same for a kind known where it is called.
    template <PrefKind kind>
    bool on(PrefKey key) const {
        const bool enabled = kind == PrefKind::setting || flag(PrefKey::shortcutsEnabled);
        const bool swapped = kind == PrefKind::ctrlToCmd && flag(PrefKey::swapCtrlCmd);
        return enabled && !swapped && flag(key);
    }
    // The Control-to-Command rows' test applied to any key, by name.
    bool swapRow(const QString& keyName) const;

    // One accessor per switch, named as the switch and read as its declaration says.
#define FENWOLD_PREF_ACCESSOR(name, value, kind)                                                             \
    bool name() const {                                                                                      \
        return on<PrefKind::kind>(PrefKey::name);                                                            \
    }
    FENWOLD_SWITCHES(FENWOLD_PREF_ACCESSOR)
#undef FENWOLD_PREF_ACCESSOR
    bool debugLog() const {
        return flag(PrefKey::debugLog);
    }

    // The preferred switcher thumbnail height, clamped to 90...280; 140 when absent, not a
    // number, zero or negative.
    double thumbH() const;
    void setThumbH(double value) const;
    // The bundle identifiers of the applications in which every shortcut passes untouched
    // (empty when absent or not an array of text).
    QStringList excludedApps() const;
    void setExcludedApps(const QStringList& bundleIDs) const;

    void set(PrefKey key, bool value) const {
        store_->write(key, value);
    }
    PrefsStore& store() const {
        return *store_;
    }

    // The key of a name, for callers that hold names (settings rows, swapRow by name).
    static std::optional<PrefKey> keyNamed(const QString& name);

private:
    PrefsStore* store_;
};

} // namespace fenwold

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

    // Registers the 40 Boolean defaults; stored values keep precedence.
    void registerDefaults() const;

    // The stored Boolean of a key (false when absent or not a Boolean), without the master switch.
    bool flag(PrefKey key) const;
    // A gated shortcut: false while the master switch is off.
    bool gated(PrefKey key) const { return shortcutsEnabled() && flag(key); }
    // Rows that turn Control into Command in software: off while the hardware swap is on.
    bool swapRow(PrefKey key) const { return !swapCtrlCmd() && shortcutsEnabled() && flag(key); }
    bool swapRow(const QString& keyName) const;

    // Read directly.
    bool shortcutsEnabled() const { return flag(PrefKey::shortcutsEnabled); }
    bool altTab() const { return flag(PrefKey::altTab); }
    bool swapCtrlCmd() const { return flag(PrefKey::swapCtrlCmd); }
    bool capsGlobe() const { return flag(PrefKey::capsGlobe); }
    bool f19Globe() const { return flag(PrefKey::f19Globe); }
    bool debugLog() const { return flag(PrefKey::debugLog); }
    bool dockPeek() const { return flag(PrefKey::dockPeek); }
    bool peekBadges() const { return flag(PrefKey::peekBadges); }
    bool peekEmpty() const { return flag(PrefKey::peekEmpty); }
    bool macHints() const { return flag(PrefKey::macHints); }
    bool launchAtLogin() const { return flag(PrefKey::launchAtLogin); }
    // The preferred switcher thumbnail height, clamped to 90...280; 140 when absent, not a
    // number, zero or negative.
    double thumbH() const;
    void setThumbH(double value) const;
    // The bundle identifiers of the applications in which every shortcut passes untouched
    // (empty when absent or not an array of text).
    QStringList excludedApps() const;
    void setExcludedApps(const QStringList& bundleIDs) const;

    // Gated by the master switch.
    bool parsecMouseFix() const { return gated(PrefKey::parsecMouseFix); }
    bool dblClickMax() const { return gated(PrefKey::dblClickMax); }
    bool wheelZoom() const { return gated(PrefKey::wheelZoom); }
    bool altSpace() const { return gated(PrefKey::altSpace); }
    bool screenshotKeys() const { return gated(PrefKey::screenshotKeys); }
    bool snapKeys() const { return gated(PrefKey::snapKeys); }
    bool insertClipboard() const { return gated(PrefKey::insertClipboard); }
    bool finderCut() const { return gated(PrefKey::finderCut); }
    bool finderF2() const { return gated(PrefKey::finderF2); }
    bool finderDelete() const { return gated(PrefKey::finderDelete); }
    bool finderEnter() const { return gated(PrefKey::finderEnter); }
    bool homeEnd() const { return gated(PrefKey::homeEnd); }
    bool winV() const { return gated(PrefKey::winV); }
    bool winR() const { return gated(PrefKey::winR); }
    bool winD() const { return gated(PrefKey::winD); }
    bool winE() const { return gated(PrefKey::winE); }
    bool winL() const { return gated(PrefKey::winL); }
    bool winM() const { return gated(PrefKey::winM); }
    bool winTab() const { return gated(PrefKey::winTab); }
    bool winNum() const { return gated(PrefKey::winNum); }
    bool altF4() const { return gated(PrefKey::altF4); }
    bool ctrlF4() const { return gated(PrefKey::ctrlF4); }
    bool ctrlWord() const { return gated(PrefKey::ctrlWord); }
    bool taskMgr() const { return gated(PrefKey::taskMgr); }
    bool snapQuadrants() const { return gated(PrefKey::snapQuadrants); }
    bool snapAssist() const { return gated(PrefKey::snapAssist); }

    // Software Control-to-Command rows.
    bool ctrlClipboard() const { return swapRow(PrefKey::ctrlClipboard); }
    bool ctrlSelectAll() const { return swapRow(PrefKey::ctrlSelectAll); }
    bool ctrlZoom() const { return swapRow(PrefKey::ctrlZoom); }
    bool ctrlLetters() const { return swapRow(PrefKey::ctrlLetters); }

    void set(PrefKey key, bool value) const { store_->write(key, value); }
    PrefsStore& store() const { return *store_; }

    // The key of a name, for callers that hold names (settings rows, swapRow by name).
    static std::optional<PrefKey> keyNamed(const QString& name);

    // Module check for the self-check runner: appends failures, returns true when all pass.
    static bool selfcheck(PrefsStore& scratch, QStringList& failures);

private:
    PrefsStore* store_;
};

} // namespace fenwold

#include "GreenButton.h"

#include "core/hints/HintHUD.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/windows/Windows.h"
#include "ports/KeyCodes.h"

#include <utility>

namespace fenwold {

namespace {

// Any of these held makes the click the Mac's (Option-click zooms; the others are the
// application's).
constexpr uint64_t kModifiers = flag::shift | flag::control | flag::option | flag::command;

} // namespace

bool GreenButton::wanted(uint64_t flags) const {
    return !(flags & kModifiers) && Prefs(*p_.prefs).greenMaximizes();
}

bool GreenButton::mayTake(Point at, uint64_t flags) {
    return wanted(flags) && p_.windows->titlebarButtonsHit(at).has_value();
}

bool GreenButton::takes(Point at, uint64_t flags) {
    pending_.reset();
    if (!wanted(flags)) return false;
    const auto hit = p_.windows->titlebarButtonsHit(at);
    if (!hit || ExcludedApps(*p_.prefs).containsApp(hit->pid, *p_.workspace)) return false;
    const auto button = p_.windows->greenButtonFrame(hit->pid, hit->id);
    if (!button || !button->contains(at)) return false;
    pending_ = hit;
    return true;
}

void GreenButton::clicked() {
    const auto window = std::exchange(pending_, std::nullopt);
    if (!window) return;
    // A second click gives back the size from before, as Windows' restore button does.
    if (p_.windows->currentSnap(window->pid, window->id) == WindowSnap::maximize) {
        p_.windows->restoreOriginal(window->pid, window->id);
        return;
    }
    p_.windows->snap(WindowSnap::maximize, *window);
    if (p_.hints)
        p_.hints->show(QStringLiteral("Maximize button"), QStringLiteral("⌥ ~click ~the ~green ~button"));
}

} // namespace fenwold

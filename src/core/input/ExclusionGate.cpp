#include "ExclusionGate.h"

#include "core/settings/Prefs.h"
#include "ports/Workspace.h"

namespace fenwold {

ExclusionGate::ExclusionGate(PrefsStore& prefs, Workspace& workspace) : prefs_(prefs), workspace_(workspace) {
    prefsChanged_ = prefs_.observeChanges([this] { generation_.fetch_add(1, std::memory_order_release); });
}

bool ExclusionGate::frontExcluded() {
    const uint64_t generation = generation_.load(std::memory_order_acquire);
    const int32_t pid = workspace_.frontmostPid();
    if (generation == seenGeneration_ && pid == seenPid_) return excluded_;
    // The list is read again on every change of the front process too, so an edit the change
    // notification missed (another process writing the defaults) counts from the next switch.
    seenGeneration_ = generation;
    seenPid_ = pid;
    excluded_ = false;
    const QStringList excluded = Prefs(prefs_).excludedApps();
    if (excluded.isEmpty() || pid < 1) return excluded_;
    const auto app = workspace_.app(pid);
    excluded_ = app && app->bundleID && excluded.contains(*app->bundleID);
    return excluded_;
}

} // namespace fenwold

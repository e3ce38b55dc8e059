#pragma once

#include "ports/Subscription.h"

#include <QStringList>
#include <atomic>
#include <cstdint>

namespace fenwold {

class PrefsStore;
class Workspace;

// Answers, for every key, whether the front application is one of the excluded ones, in which
// the Windows shortcuts pass untouched (remote desktops and virtual machines want the real keys).
// The answer is kept for the front process and worked out again only when the front process or
// the preferences change, so a passing key costs one look at the front pid and no allocation.
// `frontExcluded` belongs to the event-tap thread; preference changes may arrive on any thread.
class ExclusionGate {
public:
    ExclusionGate(PrefsStore& prefs, Workspace& workspace);
    ExclusionGate(const ExclusionGate&) = delete;
    ExclusionGate& operator=(const ExclusionGate&) = delete;

    bool frontExcluded();

private:
    PrefsStore& prefs_;
    Workspace& workspace_;
    std::atomic<uint64_t> generation_{1};
    Subscription prefsChanged_;
    // Tap thread only.
    uint64_t seenGeneration_ = 0;
    int32_t seenPid_ = -1;
    bool excluded_ = false;
};

} // namespace fenwold

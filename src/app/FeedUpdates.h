#pragma once

#include "platform/qt/NetworkFeedFetcher.h"
#include "ports/Updates.h"

#include <memory>

namespace fenwold {

class AppShell;
class MainQueue;

// Update checks that read the bundle's feed themselves (Qt Network): what a build without an
// update framework offers. Owns the fetcher, so it must outlive what it hands out.
class FeedUpdates {
public:
    // The status menu's updater.
    std::unique_ptr<Updates> updates(MainQueue& queue, const AppShell& shell);
    // The report-only check behind "--check-updates".
    std::unique_ptr<UpdateCheck> check(const AppShell& shell);

private:
    NetworkFeedFetcher fetcher_;
};

} // namespace fenwold

#include "FeedUpdates.h"

#include "core/shell/UpdateDiagnosis.h"
#include "ports/AppShell.h"
#include "ui/shell/FeedUpdater.h"

namespace fenwold {

std::unique_ptr<Updates> FeedUpdates::updates(MainQueue& queue, const AppShell& shell) {
    return std::make_unique<FeedUpdater>(fetcher_, queue, shell.bundle(), shell.systemVersion());
}

std::unique_ptr<UpdateCheck> FeedUpdates::check(const AppShell& shell) {
    return std::make_unique<FeedUpdateCheck>(fetcher_, shell.bundle(), shell.systemVersion());
}

} // namespace fenwold

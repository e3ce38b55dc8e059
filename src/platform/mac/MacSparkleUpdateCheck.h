#pragma once

#include "ports/Updates.h"

#include <memory>

namespace fenwold {

// A report-only update check through the update framework's updater for the main bundle. Its user
// driver never shows anything: automatic checks are allowed without sending a system profile,
// found or ready updates are dismissed, and every notice is acknowledged at once. What the
// updater reports reaches the observer. Main thread only.
class MacSparkleUpdateCheck final : public UpdateCheck {
public:
    MacSparkleUpdateCheck();
    ~MacSparkleUpdateCheck() override;

    std::optional<QString> start() override;
    void checkForUpdateInformation(UpdateCheckObserver& observer) override;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

} // namespace fenwold

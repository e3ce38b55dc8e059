#pragma once

#include "ports/Updates.h"

#include <memory>

namespace fenwold {

// The status menu's updater through the update framework's standard controller, which brings its
// own windows and schedule. `start` creates the controller and starts its updater; before that no
// check can start. Main thread only.
class MacSparkleUpdates final : public Updates {
public:
    MacSparkleUpdates();
    ~MacSparkleUpdates() override;

    void start() override;
    bool canCheckForUpdates() const override;
    void checkForUpdates() override;
    void remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) override;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

} // namespace fenwold

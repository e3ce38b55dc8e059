#pragma once

#include "ports/Updates.h"

#include <functional>

namespace fenwold {

class SimUpdates final : public Updates {
public:
    void start() override;
    bool canCheckForUpdates() const override;
    void checkForUpdates() override;
    void remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) override;
    bool started() const { return started_; }
    int checks() const { return checks_; }
    // A scheduled check finds an update: shown by the framework when the program is in front,
    // otherwise waiting for the user; true when it was shown.
    bool findScheduledUpdate();
    // The user saw the waiting update (or dismissed it).
    void finishSession();
    int shown() const { return shown_; }

private:
    bool started_ = false;
    int checks_ = 0;
    int shown_ = 0;
    bool waiting_ = false;
    std::function<bool()> inFront_;
    std::function<void(bool)> notice_;
};

} // namespace fenwold

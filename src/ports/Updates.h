#pragma once

namespace fenwold {

// The update framework as the status menu uses it.
class Updates {
public:
    Updates() = default;
    Updates(const Updates&) = delete;
    Updates& operator=(const Updates&) = delete;
    virtual ~Updates() = default;

    // Start the updater (scheduled background checks as the bundle configures them).
    virtual void start() = 0;
    // Whether a user-initiated check can start now.
    virtual bool canCheckForUpdates() const = 0;
    // A user-initiated check with the framework's own interface.
    virtual void checkForUpdates() = 0;
};

} // namespace fenwold

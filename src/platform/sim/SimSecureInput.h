#pragma once

#include "ports/SecureInput.h"

#include <mutex>
#include <vector>

namespace fenwold {

class SimWorkspace;

// Secure Event Input of the simulated session. Processes turn it on and off, counted as the
// system counts them; a process that ends lets go of its holds. A stuck holder can be forced (a
// password manager that forgets to let go), and the session can keep the holder's pid to itself.
class SimSecureInput final : public SecureInput {
public:
    explicit SimSecureInput(const SimWorkspace& workspace) : workspace_(workspace) {}

    bool enabled() const override;
    std::optional<int32_t> holderPid() const override;

    void enable(int32_t pid);
    void disable(int32_t pid);
    // The process keeps it on whatever it asks for afterwards, until it quits or `unstick`.
    void stick(int32_t pid);
    void unstick();
    // Whether the session dictionary names the holder (true unless told otherwise).
    void setHolderReported(bool reported);

private:
    // The process holding it now, most recent first; 0 when none.
    int32_t holderLocked() const;

    const SimWorkspace& workspace_;
    mutable std::mutex mutex_;
    std::vector<int32_t> holds_; // one entry per enable, oldest first
    int32_t stuck_ = 0;
    bool reported_ = true;
};

} // namespace fenwold

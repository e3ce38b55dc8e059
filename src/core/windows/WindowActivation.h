#pragma once

#include "ports/Accessibility.h"
#include "ports/PrivateServices.h"

#include <QByteArray>
#include <functional>

namespace fenwold {

// The window-server side of bringing one window to the front, and finding the element of a
// window that the application's window list does not report (a window on another Space).
class WindowActivation {
public:
    static constexpr uint32_t frontOptions = 0x200;
    static constexpr double tokenSearchSeconds = 0.2;
    static constexpr double tokenProbeTimeout = 0.05;
    // A bound on probes for a clock that does not move while the search runs.
    static constexpr uint64_t maxTokenProbes = 1u << 16;

    WindowActivation(PrivateServices* services, Accessibility& ax, std::function<double()> uptime);
    WindowActivation(const WindowActivation&) = delete;
    WindowActivation& operator=(const WindowActivation&) = delete;

    // Makes window `id` of the process the front window; true only when both private calls
    // exist and succeed.
    bool focus(ProcessSerial psn, uint32_t id);
    // The element of window `id` of `pid`, found by probing remote tokens; null when not found
    // within the time bound.
    AXElement resolve(int32_t pid, uint32_t id);

    // The 256-byte record that tells the window server the window became key.
    static QByteArray eventRecord(uint32_t id);
    // The 20-byte token that names an element of a process.
    static QByteArray remoteToken(int32_t pid, uint64_t elementID);

    void setUptime(std::function<double()> uptime) { uptime_ = std::move(uptime); }

private:
    PrivateServices* services_;
    Accessibility& ax_;
    std::function<double()> uptime_;
};

} // namespace fenwold

#pragma once

#include "WindowCapture.h"
#include "WindowStore.h"
#include "Windows.h"
#include "ports/MainQueue.h"

namespace fenwold {

// The window model as the program assembles it once: the queries and operations, the capture
// service and the store, wired to each other.
struct WindowModel {
    explicit WindowModel(
        const Platform& platform, std::function<double()> thumbHeight = [] { return 140.0; })
        : windows(platform), capture(*platform.windowServer, platform.screenCapture,
                                     [q = platform.mainQueue] { return q->uptime(); }),
          store(platform, windows, capture, std::move(thumbHeight)) {
        windows.setStore(&store);
    }
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    Windows windows;
    WindowCapture capture;
    WindowStore store;
};

} // namespace fenwold

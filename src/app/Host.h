#pragma once

#include "ports/FloatingPanel.h"
#include "ports/Platform.h"
#include "ports/Updates.h"

#include <functional>
#include <memory>

namespace fenwold {

class StatusItemView;

// The platform the program runs on: the real Mac on Apple systems, the simulated session
// elsewhere. Owns every port implementation.
class Host {
public:
    Host() = default;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    virtual ~Host() = default;

    virtual Platform platform() = 0;
    // The status-bar item of this platform.
    virtual std::unique_ptr<StatusItemView> makeStatusItem() = 0;
    // The platform's own floating panels for the overlays; empty for Qt's floating windows.
    virtual FloatingPanelFactory nativePanels() = 0;
    // Runs when the application is asked to terminate through its own quit command.
    virtual void onTerminate(std::function<void()> quit) = 0;
    // The status menu's updater: the update framework where the build has one, otherwise the
    // bundle's feed read directly. Must not outlive the host.
    virtual std::unique_ptr<Updates> makeUpdates() = 0;
    // The report-only update check of "--check-updates", from the same source as makeUpdates.
    virtual std::unique_ptr<UpdateCheck> makeUpdateCheck() = 0;
};

// The host of this build.
std::unique_ptr<Host> makeHost();

} // namespace fenwold

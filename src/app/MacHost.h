#pragma once

#include "Host.h"

#include <memory>

namespace fenwold {

// The real Mac: every port through the macOS adapters, the main queue on Qt's event loop.
class MacHost final : public Host {
public:
    MacHost();
    ~MacHost() override;
    Platform platform() override;
    std::unique_ptr<StatusItemView> makeStatusItem() override;
    FloatingPanelFactory nativePanels() override;
    void onTerminate(std::function<void()> quit) override;
    std::unique_ptr<Updates> makeUpdates() override;
    std::unique_ptr<UpdateCheck> makeUpdateCheck() override;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace fenwold

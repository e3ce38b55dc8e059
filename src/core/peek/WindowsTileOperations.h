#pragma once

#include "core/switcher/TileGrid.h"

namespace fenwold {

class Windows;
class Workspace;

// Tile actions carried out on the real windows and applications.
class WindowsTileOperations final : public TileOperations {
public:
    WindowsTileOperations(Windows& windows, Workspace& workspace)
        : windows_(windows), workspace_(workspace) {}

    void activate(const WindowInfo& w) override;
    void close(const WindowInfo& w) override;
    void minimize(const WindowInfo& w) override;
    void toggleFullscreen(const WindowInfo& w) override;
    void terminate(int32_t pid) override;

private:
    Windows& windows_;
    Workspace& workspace_;
};

} // namespace fenwold

#pragma once

#include "TileGrid.h"
#include "TileOperations.h"

namespace fenwold {

class Windows;
class Workspace;

// Tile actions carried out on real windows: activation, the window buttons and a polite quit.
class WindowTileOperations final : public TileOperations {
public:
    WindowTileOperations(Windows& windows, Workspace& workspace) : windows_(windows), workspace_(workspace) {}

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

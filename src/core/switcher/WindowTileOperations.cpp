#include "WindowTileOperations.h"

#include "core/windows/Windows.h"

namespace fenwold {

void WindowTileOperations::activate(const WindowInfo& w) {
    windows_.activate(w);
}

void WindowTileOperations::close(const WindowInfo& w) {
    windows_.close(w);
}

void WindowTileOperations::minimize(const WindowInfo& w) {
    windows_.minimize(w);
}

void WindowTileOperations::toggleFullscreen(const WindowInfo& w) {
    windows_.toggleFullscreen(w.pid, w.id);
}

void WindowTileOperations::terminate(int32_t pid) {
    workspace_.terminate(pid);
}

} // namespace fenwold

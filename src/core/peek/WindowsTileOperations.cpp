#include "WindowsTileOperations.h"

#include "core/windows/Windows.h"
#include "ports/Workspace.h"

namespace fenwold {

void WindowsTileOperations::activate(const WindowInfo& w) {
    windows_.activate(w);
}
void WindowsTileOperations::close(const WindowInfo& w) {
    windows_.close(w);
}
void WindowsTileOperations::minimize(const WindowInfo& w) {
    windows_.minimize(w);
}
void WindowsTileOperations::toggleFullscreen(const WindowInfo& w) {
    windows_.toggleFullscreen(w.pid, w.id);
}
void WindowsTileOperations::terminate(int32_t pid) {
    workspace_.terminate(pid);
}

} // namespace fenwold

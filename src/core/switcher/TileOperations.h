#pragma once

#include "SwitcherModel.h"

#include <functional>

namespace fenwold {

enum class TileAction { pick, close, minimize, zoom, quit };

// What tile actions do to windows and applications.
class TileOperations {
public:
    virtual ~TileOperations() = default;
    virtual void activate(const WindowInfo& w) = 0;
    virtual void close(const WindowInfo& w) = 0;
    virtual void minimize(const WindowInfo& w) = 0;
    virtual void toggleFullscreen(const WindowInfo& w) = 0;
    virtual void terminate(int32_t pid) = 0;
};

// Carries out a tile action and keeps the model consistent; `relayout` and `hide` are the
// overlay's own.
void handleTileAction(TileAction action, int index, SwitcherModel& model, TileOperations& operations,
                      const std::function<void()>& relayout, const std::function<void()>& hide);

} // namespace fenwold

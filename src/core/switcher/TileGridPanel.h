#pragma once

#include "TileGrid.h"
#include "TileOperations.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

// A floating panel showing a model's tile grid: the switcher, snap assist and the Dock peek each
// own one. Frames are in screen coordinates (origin at the primary screen's bottom-left).
class TileGridPanel {
public:
    TileGridPanel() = default;
    TileGridPanel(const TileGridPanel&) = delete;
    TileGridPanel& operator=(const TileGridPanel&) = delete;
    virtual ~TileGridPanel() = default;

    // Show (or update) the grid with these rows and header at the frame.
    virtual void show(const std::vector<std::vector<int>>& rows, const std::optional<QString>& header,
                      const Rect& frame) = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    virtual Rect frame() const = 0;
    // The size the grid needs for these rows and header, before placing it.
    virtual Size measure(const std::vector<std::vector<int>>& rows,
                         const std::optional<QString>& header) const = 0;
    // Tile clicks and hover buttons; set by the owning controller.
    std::function<void(int index, TileAction action)> onAction;
};

} // namespace fenwold

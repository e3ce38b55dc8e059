#include "TileOperations.h"

namespace fenwold {

void handleTileAction(TileAction action, int index, SwitcherModel& model, TileOperations& operations,
                      const std::function<void()>& relayout, const std::function<void()>& hide) {
    if (index < 0 || index >= static_cast<int>(model.windows().size())) return;
    const WindowInfo w = model.windows()[static_cast<std::size_t>(index)];
    auto afterRemoval = [&] {
        if (model.windows().empty())
            hide();
        else
            relayout();
    };
    switch (action) {
    case TileAction::pick:
        hide();
        operations.activate(w);
        break;
    case TileAction::close:
        operations.close(w);
        model.removeAt(index);
        afterRemoval();
        break;
    case TileAction::minimize:
        operations.minimize(w);
        model.markMinimized(index);
        break;
    case TileAction::zoom:
        hide();
        operations.toggleFullscreen(w);
        break;
    case TileAction::quit:
        operations.terminate(w.pid);
        model.removeAllOf(w.pid);
        afterRemoval();
        break;
    }
}

} // namespace fenwold

#pragma once

#include "core/switcher/TileGridPanel.h"
#include "ports/FloatingPanel.h"

#include <memory>

namespace fenwold {

class PanelHost;
class SwitcherView;

// A tile-grid panel drawn by `SwitcherView` inside a floating panel of the host, with the
// style's corner radius.
class TileGridPanelWidget final : public TileGridPanel {
public:
    TileGridPanelWidget(SwitcherModel& model, const Metrics& metrics, const PanelHost& host,
                        const PanelStyle& style);
    ~TileGridPanelWidget() override;

    void show(const std::vector<std::vector<int>>& rows, const std::optional<QString>& header,
              const Rect& frame) override;
    void orderOut() override;
    bool isVisible() const override;
    Rect frame() const override { return frame_; }
    Size measure(const std::vector<std::vector<int>>& rows,
                 const std::optional<QString>& header) const override;

    SwitcherView& view() const { return *view_; }
    FloatingPanel& panel() const { return *panel_; }

private:
    const SwitcherModel& model_;
    const Metrics& metrics_;
    std::unique_ptr<SwitcherView> view_;
    std::unique_ptr<FloatingPanel> panel_; // goes before the view it hosts
    Rect frame_;
};

} // namespace fenwold

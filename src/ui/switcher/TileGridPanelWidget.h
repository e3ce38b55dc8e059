#pragma once

#include "core/switcher/TileGridPanel.h"

#include <memory>

namespace fenwold {

class PanelHost;
class SwitcherView;

// A tile-grid panel drawn by `SwitcherView` inside a floating panel of the host.
class TileGridPanelWidget final : public TileGridPanel {
public:
    TileGridPanelWidget(SwitcherModel& model, const Metrics& metrics, const PanelHost& host,
                        double cornerRadius);
    ~TileGridPanelWidget() override;

    void show(const std::vector<std::vector<int>>& rows, const std::optional<QString>& header,
              const Rect& frame) override;
    void orderOut() override;
    bool isVisible() const override;
    Rect frame() const override { return frame_; }
    Size measure(const std::vector<std::vector<int>>& rows,
                 const std::optional<QString>& header) const override;

    SwitcherView& view() const { return *view_; }

private:
    const SwitcherModel& model_;
    const Metrics& metrics_;
    const PanelHost& host_;
    std::unique_ptr<SwitcherView> view_;
    Rect frame_;
};

} // namespace fenwold

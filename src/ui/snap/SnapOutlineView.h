#pragma once

#include "core/snap/SnapOutlinePanel.h"
#include "ports/FloatingPanel.h"

#include <QWidget>
#include <memory>

namespace fenwold {

class PanelHost;

// The outline of where a dragged window will snap: a translucent rounded frame with a light
// border, inset a little from the zone so that neighbouring zones stay apart.
class SnapOutlineView final : public QWidget {
public:
    static constexpr double kInset = 6;
    static constexpr double kRadius = 12;

    explicit SnapOutlineView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// The outline in a floating panel of the host; every click goes through it.
class SnapOutlinePanelWidget final : public SnapOutlinePanel {
public:
    SnapOutlinePanelWidget(const PanelHost& host, const PanelStyle& style);
    ~SnapOutlinePanelWidget() override;

    void show(const Rect& frame) override;
    void orderOut() override;
    bool isVisible() const override;
    Rect frame() const override;

private:
    std::unique_ptr<SnapOutlineView> view_;
    std::unique_ptr<FloatingPanel> panel_; // goes before the view it hosts
};

} // namespace fenwold

#pragma once

#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"

namespace fenwold::testing {

// Panels placed on a canvas the size of the primary screen (no real desktop offscreen).
class CanvasHost final : public PanelHost {
public:
    explicit CanvasHost(double screenHeight) : height_(screenHeight) {}
    QWidget* container() const override { return nullptr; }
    QRect toWidget(const Rect& f) const override {
        return QRect(qRound(f.x), qRound(height_ - f.maxY()), qRound(f.width), qRound(f.height));
    }

protected:
    std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override {
        return std::make_unique<DesktopFloatingPanel>(content, style, *this);
    }

private:
    double height_;
};

} // namespace fenwold::testing

#pragma once

#include "ports/FloatingPanel.h"

#include <memory>

namespace fenwold {

// A panel that passes every call on to the one it wraps; a wrapper overrides only what it adds.
class WrappedPanel : public FloatingPanel {
public:
    explicit WrappedPanel(std::unique_ptr<FloatingPanel> panel) : panel_(std::move(panel)) {}

    void setFrame(const Rect& frame) override { panel_->setFrame(frame); }
    Rect frame() const override { return panel_->frame(); }
    Rect currentFrame() const override { return panel_->currentFrame(); }
    int64_t windowNumber() const override { return panel_->windowNumber(); }
    void setAlpha(double alpha) override { panel_->setAlpha(alpha); }
    double alpha() const override { return panel_->alpha(); }
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override {
        panel_->animate(frame, alpha, seconds, easeOut, std::move(completion));
    }
    void orderFront() override { panel_->orderFront(); }
    void orderOut() override { panel_->orderOut(); }
    bool isVisible() const override { return panel_->isVisible(); }
    bool isKeyWindow() const override { return panel_->isKeyWindow(); }
    Subscription monitorClicks(std::function<void(QWidget*)> handler) override {
        return panel_->monitorClicks(std::move(handler));
    }

private:
    std::unique_ptr<FloatingPanel> panel_;
};

} // namespace fenwold

#pragma once

#include "core/hints/HintHUD.h"

namespace fenwold::testing {

// A hint panel that shows nothing and only knows whether it is up.
class SilentHintPanel final : public HintPanel {
public:
    Size setContent(const Hint&) override { return {200, 50}; }
    void setFrame(const Rect&) override {}
    bool isVisible() const override { return visible; }
    void setAlpha(double) override {}
    void orderFront() override { visible = true; }
    void animateAlpha(double, double) override {}
    void orderOut() override { visible = false; }
    bool visible = false;
};

} // namespace fenwold::testing

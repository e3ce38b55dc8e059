#pragma once

#include "core/hints/HintHUD.h"

#include <optional>
#include <vector>

namespace fenwold::testing {

// A hint panel that shows nothing and remembers what it was asked to do: the hint it was given,
// where it was put, whether it is up, its alpha and its fades. It reports `overlays` as the other
// overlays shown.
class RecordingHintPanel final : public HintPanel {
public:
    // The size it answers for any content.
    explicit RecordingHintPanel(Size natural = {200, 50}) : natural_(natural) {}

    Size setContent(const Hint& hint) override {
        ++builds;
        content = hint;
        return natural_;
    }
    void setFrame(const Rect& f) override { frame = f; }
    bool isVisible() const override { return visible; }
    void setAlpha(double a) override { alpha = a; }
    void orderFront() override {
        visible = true;
        ++frontings;
    }
    void animateAlpha(double a, double seconds) override {
        alpha = a;
        fades.push_back(seconds);
    }
    void orderOut() override { visible = false; }
    std::vector<Rect> otherOverlays() const override { return overlays; }

    std::vector<Rect> overlays; // what it reports as the other overlays shown
    std::optional<Hint> content;
    Rect frame;
    bool visible = false;
    double alpha = -1; // never set
    int builds = 0, frontings = 0;
    std::vector<double> fades;

private:
    Size natural_;
};

} // namespace fenwold::testing

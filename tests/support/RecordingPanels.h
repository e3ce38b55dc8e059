#pragma once

#include "ui/common/PanelHost.h"

#include <QWidget>
#include <vector>

namespace fenwold::testing {

// A floating panel that records what it is asked and keeps its content at its size, as every
// platform panel must. The test decides whether it is key.
class RecordingPanel final : public FloatingPanel {
public:
    RecordingPanel(QWidget& content, const PanelStyle& style) : content(&content), style(style) {}

    void setFrame(const Rect& frame) override {
        frames.push_back(frame);
        current = frame;
        content->resize(qRound(frame.width), qRound(frame.height));
    }
    Rect frame() const override { return current; }
    Rect currentFrame() const override { return current; }
    int64_t windowNumber() const override { return 0; }
    void setAlpha(double a) override { alphaValue = a; }
    double alpha() const override { return alphaValue; }
    void animate(const Rect& frame, double a, double, bool, std::function<void()> completion) override {
        setFrame(frame);
        alphaValue = a;
        if (completion) completion();
    }
    void orderFront() override {
        shown = true;
        key = style.takesKeys;
    }
    void orderOut() override { shown = key = false; }
    bool isVisible() const override { return shown; }
    bool isKeyWindow() const override { return key; }
    Subscription monitorClicks(std::function<void(QWidget*)> handler) override {
        clicks = std::move(handler);
        return Subscription([this] { clicks = nullptr; });
    }

    QWidget* content;
    PanelStyle style;
    std::vector<Rect> frames;
    Rect current;
    double alphaValue = 1;
    bool shown = false;
    bool key = false;
    std::function<void(QWidget*)> clicks;
};

// A desktop that makes recording panels and remembers each, in the order they were made.
class RecordingPanelHost final : public PanelHost {
public:
    QWidget* container() const override { return nullptr; }
    QRect toWidget(const Rect& f) const override {
        return QRect(qRound(f.x), qRound(900 - f.maxY()), qRound(f.width), qRound(f.height));
    }
    // The panel made with this accessibility title, the latest if several.
    RecordingPanel* panel(const QString& title) const {
        for (auto it = panels.rbegin(); it != panels.rend(); ++it)
            if ((*it)->style.accessibilityTitle == title) return *it;
        return nullptr;
    }
    mutable std::vector<RecordingPanel*> panels; // owned by their overlays

protected:
    std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override {
        auto made = std::make_unique<RecordingPanel>(content, style);
        panels.push_back(made.get());
        return made;
    }
};

} // namespace fenwold::testing

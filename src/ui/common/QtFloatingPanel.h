#pragma once

#include "PanelHost.h"
#include "ports/FloatingPanel.h"

#include <QObject>
#include <QRect>
#include <memory>

class QTimer;
class QVariantAnimation;
class QWidget;

namespace fenwold {

// Whether an object is the window or one of its widgets, including menus opened from it.
bool isPartOfWindow(const QWidget& window, QObject* object);

// Mouse-downs anywhere, told as landing in the panel around `content` (its menus included) or
// outside it: the one decision every platform's panels share, made from where each click landed.
Subscription monitorPanelClicks(FloatingPanel& panel, const QWidget& content,
                                std::function<void(bool inPanel)> handler);

// A floating panel made of the content widget itself, placed by its panel host: what the desktop
// and playground panels share (frames through the host, animation, the clicks). Where
// the widget goes and how it fades is theirs.
class QtFloatingPanel : public QObject, public FloatingPanel {
    Q_OBJECT
public:
    QtFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    ~QtFloatingPanel() override;

    void setFrame(const Rect& frame) override;
    Rect frame() const override { return frame_; }
    Rect currentFrame() const override;
    int64_t windowNumber() const override { return host_.windowNumber(content_); }
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override;
    bool isKeyWindow() const override;
    // Where the host's clicks land (`PanelHost::observeClicks`).
    Subscription monitorClicks(std::function<void(QWidget* landedIn)> handler) override;

protected:
    QWidget& content_;
    const PanelStyle style_;
    const PanelHost& host_;

private:
    Rect frame_;
    QVariantAnimation* animation_ = nullptr;
};

// A panel as a frameless top-level tool window above normal windows that shows without
// activating the program; it takes focus only when its style takes keys.
class DesktopFloatingPanel final : public QtFloatingPanel {
    Q_OBJECT
public:
    // A panel hidden for this long gives back the pixels its window draws into (megabytes for a
    // switcher of many windows); shown again soon, it finds them still there.
    static constexpr int keepsPixelsMilliseconds = 3000;

    DesktopFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    void orderOut() override;
    void setAlpha(double alpha) override;
    double alpha() const override;

private:
    QTimer* givePixelsBack_;
};

// A panel as a child widget of the host's container (the playground's simulated screen), over
// what the container draws. It fades through a graphics effect while it is partly transparent;
// a panel whose style ignores the mouse lets clicks through to the container, the others keep
// their clicks. The container says where clicks land; like a Mac's panel of a program that is not
// active, it gets no pointer movement, entering, leaving or tooltips from Qt: the hover comes
// from the host's pointer monitors.
class ChildFloatingPanel final : public QtFloatingPanel {
    Q_OBJECT
public:
    ChildFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    void setAlpha(double alpha) override;
    double alpha() const override;

private:
    double alpha_ = 1;
};

} // namespace fenwold

#pragma once

#include "ports/FloatingPanel.h"

#include <QObject>
#include <QRect>
#include <memory>

class QVariantAnimation;
class QWidget;

namespace fenwold {

class PanelHost;

// Whether an object is the window or one of its widgets, including menus opened from it.
bool isPartOfWindow(const QWidget& window, QObject* object);

// A floating panel made of the content widget itself, placed by its panel host: what the desktop
// and playground panels share (frames through the host, animation, the click monitor). Where
// the widget goes and how it fades is theirs.
class QtFloatingPanel : public QObject, public FloatingPanel {
    Q_OBJECT
public:
    QtFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    ~QtFloatingPanel() override;

    void setFrame(const Rect& frame) override;
    Rect frame() const override { return frame_; }
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override;
    bool isKeyWindow() const override;
    Subscription monitorClicks(std::function<void(bool inPanel)> handler) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget& content_;
    const PanelStyle style_;
    const PanelHost& host_;

private:
    Rect frame_;
    QVariantAnimation* animation_ = nullptr;
    std::function<void(bool)> clicks_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

// A panel as a frameless top-level tool window above normal windows that shows without
// activating the program; it takes focus only when its style takes keys.
class DesktopFloatingPanel final : public QtFloatingPanel {
    Q_OBJECT
public:
    DesktopFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    void setAlpha(double alpha) override;
    double alpha() const override;
};

// A panel as a child widget of the host's container (the playground's simulated screen), over
// what the container draws. It fades through a graphics effect while it is partly transparent;
// a panel whose style ignores the mouse lets clicks through to the container, the others keep
// their clicks. Like a Mac's panel of a program that is not active, it gets no pointer movement,
// entering, leaving or tooltips from Qt: a move over it reaches the container (the simulated
// pointer follows the hand) and the hover comes only from the host's pointer monitors.
class ChildFloatingPanel final : public QtFloatingPanel {
    Q_OBJECT
public:
    ChildFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host);
    void setAlpha(double alpha) override;
    double alpha() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double alpha_ = 1;
};

} // namespace fenwold

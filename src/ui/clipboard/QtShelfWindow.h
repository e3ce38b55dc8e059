#pragma once

#include "ports/ShelfWindow.h"

#include <QObject>
#include <memory>

class QVariantAnimation;

namespace fenwold {

class PanelHost;

// Whether an object is the window or one of its widgets, including menus opened from it.
bool isPartOfWindow(const QWidget& window, QObject* object);

// The shelf's window in Qt: the content widget itself, placed by a panel host. On a desktop it is
// a frameless tool window above normal windows that shows without activating; over a screen the
// host draws itself (the playground) it is a child of that screen. Frames go through the host.
class QtShelfWindow final : public QObject, public ShelfWindow {
    Q_OBJECT
public:
    QtShelfWindow(QWidget& content, const PanelHost& host);
    ~QtShelfWindow() override;

    void place(const Rect& frame, double alpha) override;
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void makeKeyAndOrderFront() override;
    void resignKey() override;
    void orderOut() override;
    bool isKeyWindow() const override;
    void clearFirstResponder() override;
    Subscription monitorClicks(std::function<void(bool inPanel)> handler) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& content_;
    const PanelHost& host_;
    QVariantAnimation* animation_ = nullptr;
    std::function<void(bool)> clicks_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace fenwold

#pragma once

#include "ShelfWindow.h"

#include <QObject>
#include <memory>

class QVariantAnimation;

namespace fenwold {

class Screens;

// Whether an object is the window or one of its widgets, including menus opened from it.
bool isPartOfWindow(const QWidget& window, QObject* object);

// The shelf's window in Qt: the content widget itself, shown as a frameless tool window above
// normal windows without activating. Frames are turned into Qt's top-left coordinates here.
class QtShelfWindow final : public QObject, public ShelfWindow {
    Q_OBJECT
public:
    QtShelfWindow(QWidget& content, Screens& screens);
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
    QRect toQt(const Rect& frame) const;

    QWidget& content_;
    Screens* screens_;
    QVariantAnimation* animation_ = nullptr;
    std::function<void(bool)> clicks_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace fenwold

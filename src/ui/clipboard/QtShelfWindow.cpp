#include "QtShelfWindow.h"

#include "ui/common/PanelHost.h"

#include <QApplication>
#include <QMouseEvent>
#include <QVariantAnimation>
#include <QWidget>
#include <QWindow>

namespace fenwold {

bool isPartOfWindow(const QWidget& window, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) {
        auto* handle = qobject_cast<QWindow*>(object);
        return handle && window.windowHandle() == handle;
    }
    QWidget* top = widget->window();
    // Menus opened from the window are windows of their own but part of it.
    while (top && top != &window && (top->windowFlags() & Qt::Popup) && top->parentWidget())
        top = top->parentWidget()->window();
    return top == &window;
}

QtShelfWindow::QtShelfWindow(QWidget& content, const PanelHost& host) : content_(content), host_(host) {
    // Unlike the other panels the shelf takes keyboard focus for its search field.
    if (QWidget* screen = host_.container())
        content_.setParent(screen);
    else
        content_.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    content_.hide();
    content_.setAttribute(Qt::WA_TranslucentBackground);
    content_.setAttribute(Qt::WA_ShowWithoutActivating);
    animation_ = new QVariantAnimation(this);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    qApp->installEventFilter(this);
}

QtShelfWindow::~QtShelfWindow() {
    qApp->removeEventFilter(this);
}

void QtShelfWindow::place(const Rect& frame, double alpha) {
    animation_->stop();
    content_.setGeometry(host_.toWidget(frame));
    content_.setWindowOpacity(alpha);
}

void QtShelfWindow::animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                            std::function<void()> completion) {
    animation_->stop();
    animation_->disconnect(this);
    const QRect from = content_.geometry();
    const QRect to = host_.toWidget(frame);
    const double fromAlpha = content_.windowOpacity();
    // A host on a virtual clock shows end states: nothing would run Qt's animation.
    if (seconds <= 0 || !host_.animates()) {
        content_.setGeometry(to);
        content_.setWindowOpacity(alpha);
        if (completion) completion();
        return;
    }
    animation_->setDuration(qRound(seconds * 1000));
    animation_->setEasingCurve(easeOut ? QEasingCurve::OutCubic : QEasingCurve::InCubic);
    connect(animation_, &QVariantAnimation::valueChanged, this,
            [this, from, to, fromAlpha, alpha](const QVariant& v) {
                const double t = v.toDouble();
                const auto mix = [t](int a, int b) { return qRound(a + (b - a) * t); };
                content_.setGeometry(mix(from.x(), to.x()), mix(from.y(), to.y()),
                                     mix(from.width(), to.width()), mix(from.height(), to.height()));
                content_.setWindowOpacity(fromAlpha + (alpha - fromAlpha) * t);
            });
    connect(animation_, &QVariantAnimation::finished, this, [completion] {
        if (completion) completion();
    });
    animation_->start();
}

void QtShelfWindow::makeKeyAndOrderFront() {
    content_.show();
    content_.raise();
    content_.activateWindow();
}

void QtShelfWindow::resignKey() {
    if (QWidget* focus = content_.focusWidget()) focus->clearFocus();
}

void QtShelfWindow::orderOut() {
    content_.hide();
}

bool QtShelfWindow::isKeyWindow() const {
    return content_.isVisible() && content_.isActiveWindow();
}

void QtShelfWindow::clearFirstResponder() {
    if (QWidget* focus = content_.focusWidget()) focus->clearFocus();
    content_.setFocus(Qt::OtherFocusReason);
}

Subscription QtShelfWindow::monitorClicks(std::function<void(bool)> handler) {
    clicks_ = std::move(handler);
    return Subscription([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (alive.lock()) clicks_ = nullptr;
    });
}

bool QtShelfWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && clicks_ && qobject_cast<QWidget*>(watched)) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton) clicks_(isPartOfWindow(content_, watched));
    }
    return false;
}

} // namespace fenwold

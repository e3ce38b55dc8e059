#include "ProgramWindowFrame.h"

#include "WindowChrome.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace fenwold {

ProgramWindowFrame::ProgramWindowFrame(QWidget& window, QWidget& screen, int topLimit)
    : QWidget(&screen), content_(&window), topLimit_(topLimit) {
    window.setParent(this);
    window.installEventFilter(this);
    // The window goes when its owner deletes it; so does its frame.
    QObject::connect(&window, &QObject::destroyed, this, [this] {
        hide();
        deleteLater();
    });
    // Presses on the window's controls go to them, not to the frame: watch for them all.
    qApp->installEventFilter(this);
    fit();
}

ProgramWindowFrame::~ProgramWindowFrame() {
    qApp->removeEventFilter(this);
    // The window belongs to whoever made it, not to the screen: give it back unframed.
    if (content_) {
        content_->removeEventFilter(this);
        content_->hide();
        content_->setParent(nullptr);
    }
}

QRect ProgramWindowFrame::closeButtonRect() const {
    return titleBarButton(rect(), 0);
}

void ProgramWindowFrame::fit() {
    if (!content_) return;
    // The window sizes itself (a settings pane fitting its content, even animated); the frame
    // keeps it below the title bar and grows or shrinks with it.
    const QPoint below(0, kTitleBarHeight);
    if (content_->pos() != below) content_->move(below);
    const QSize size(content_->width(), content_->height() + kTitleBarHeight);
    if (this->size() != size) resize(size);
    // A window that grows past the bottom of the screen's visible frame moves up, as far as the
    // menu bar.
    if (bottomLimit_ && geometry().bottom() > *bottomLimit_)
        move(x(), std::max(topLimit_, *bottomLimit_ + 1 - height()));
}

bool ProgramWindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) fit();
    // A window that closes itself (a chooser answered) takes its frame along.
    if (watched == content_ && event->type() == QEvent::Hide && !event->spontaneous() && isVisible() &&
        content_->isHidden())
        hide();
    if (event->type() == QEvent::MouseButtonPress && onPressed) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == this || isAncestorOf(widget))) onPressed();
    }
    return false;
}

void ProgramWindowFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintWindowChrome(p, rect(), content_ ? content_->windowTitle() : QString(), true);
}

void ProgramWindowFrame::mousePressEvent(QMouseEvent* e) {
    // Every click on the window is the window's: none falls through to the screen beneath.
    e->accept();
    raise();
    const QPoint at = e->position().toPoint();
    if (closeButtonRect().adjusted(-3, -3, 3, 3).contains(at)) {
        hide();
        return;
    }
    if (at.y() < kTitleBarHeight) grab_ = at;
}

void ProgramWindowFrame::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (!grab_) return;
    const QPoint to = mapToParent(e->position().toPoint()) - *grab_;
    move(to.x(), std::max(topLimit_, to.y()));
}

void ProgramWindowFrame::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    grab_.reset();
}

} // namespace fenwold

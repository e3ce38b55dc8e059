#include "HiddenForAWhile.h"

#include "QtFloatingPanel.h"

#include <QEvent>
#include <QWidget>

namespace fenwold {

HiddenForAWhile::HiddenForAWhile(QWidget& widget, std::function<void()> letGo) {
    timer_.setSingleShot(true);
    timer_.setInterval(DesktopFloatingPanel::keepsPixelsMilliseconds);
    connect(&timer_, &QTimer::timeout, this, std::move(letGo));
    widget.installEventFilter(this);
}

bool HiddenForAWhile::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show) timer_.stop();
    if (event->type() == QEvent::Hide) timer_.start();
    return false;
}

} // namespace fenwold

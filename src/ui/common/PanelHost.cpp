#include "PanelHost.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace fenwold {

void PanelHost::adopt(QWidget& panel, bool acceptsInput) const {
    if (QWidget* parent = container()) {
        panel.setParent(parent);
        panel.setAttribute(Qt::WA_TransparentForMouseEvents, !acceptsInput);
    } else {
        Qt::WindowFlags flags =
            Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
        if (!acceptsInput) flags |= Qt::WindowTransparentForInput;
        panel.setWindowFlags(flags);
        panel.setAttribute(Qt::WA_ShowWithoutActivating);
    }
    panel.setAttribute(Qt::WA_TranslucentBackground);
}

QAction* PanelHost::trackMenu(QMenu& menu, QPoint at) const {
    return menu.exec(container() ? container()->mapToGlobal(at) : at);
}

void PanelHost::showWindow(QWidget& window) const {
    window.show();
    window.raise();
    window.activateWindow();
}

QRect DesktopPanelHost::toWidget(const Rect& frame) const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double primaryHeight = primary ? primary->geometry().height() : 0;
    return QRect(qRound(frame.x), qRound(primaryHeight - frame.maxY()), qRound(frame.width),
                 qRound(frame.height));
}

} // namespace fenwold

#include "PanelHost.h"

#include "PanelHover.h"
#include "QtFloatingPanel.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace fenwold {

PanelHost::PanelHost() = default;

PanelHost::~PanelHost() = default;

std::unique_ptr<FloatingPanel> PanelHost::makePanel(QWidget& content, const PanelStyle& style) const {
    // Every panel draws its own rounded backdrop over whatever lies behind it.
    content.setAttribute(Qt::WA_TranslucentBackground);
    content.setWindowTitle(style.accessibilityTitle);
    content.setAccessibleName(style.accessibilityTitle);
    if (style.acceptsMouseMoved) content.setMouseTracking(true);
    content.hide(); // a panel appears only when ordered front
    std::unique_ptr<FloatingPanel> panel = createPanel(content, style);
    if (!hover_ || !style.acceptsMouseMoved) return panel;
    return hover_->follow(std::move(panel), content, style.level);
}

void PanelHost::hoverThroughMonitors(Screens& screens, MainQueue& queue) {
    hover_ = std::make_unique<PanelHover>(screens, queue, *this);
}

QAction* PanelHost::trackMenu(QMenu& menu, QPoint at) const {
    return menu.exec(container() ? container()->mapToGlobal(at) : at);
}

void PanelHost::showWindow(QWidget& window) const {
    window.show();
    window.raise();
    window.activateWindow();
}

DesktopPanelHost::DesktopPanelHost(FloatingPanelFactory nativePanels, const Platform& platform)
    : nativePanels_(std::move(nativePanels)) {
    if (nativePanels_) hoverThroughMonitors(*platform.screens, *platform.mainQueue);
}

QRect DesktopPanelHost::toWidget(const Rect& frame) const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double primaryHeight = primary ? primary->geometry().height() : 0;
    return QRect(qRound(frame.x), qRound(primaryHeight - frame.maxY()), qRound(frame.width),
                 qRound(frame.height));
}

std::unique_ptr<FloatingPanel> DesktopPanelHost::createPanel(QWidget& content,
                                                             const PanelStyle& style) const {
    if (nativePanels_) return nativePanels_(content, style);
    return std::make_unique<DesktopFloatingPanel>(content, style, *this);
}

} // namespace fenwold

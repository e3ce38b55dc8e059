#include "PanelHost.h"

#include "PanelHover.h"
#include "QtFloatingPanel.h"
#include "WrappedPanel.h"

#include <QApplication>

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace fenwold {

PanelHost::PanelHost() = default;

PanelHost::~PanelHost() = default;

namespace {

// A panel as it was, known to its host while it lives.
class KnownPanel final : public WrappedPanel {
public:
    KnownPanel(std::unique_ptr<FloatingPanel> panel, std::weak_ptr<std::vector<const FloatingPanel*>> made)
        : WrappedPanel(std::move(panel)), made_(std::move(made)) {
        if (auto list = made_.lock()) list->push_back(this);
    }
    ~KnownPanel() override {
        if (auto list = made_.lock()) std::erase(*list, this);
    }

private:
    std::weak_ptr<std::vector<const FloatingPanel*>> made_;
};

} // namespace

std::vector<Rect> PanelHost::shownFrames(const FloatingPanel* except) const {
    std::vector<Rect> frames;
    for (const FloatingPanel* panel : *made_)
        if (panel != except && panel->isVisible() && panel->alpha() > 0) frames.push_back(panel->frame());
    return frames;
}

std::unique_ptr<FloatingPanel> PanelHost::makePanel(QWidget& content, const PanelStyle& style) const {
    // Every panel draws its own rounded backdrop over whatever lies behind it.
    content.setAttribute(Qt::WA_TranslucentBackground);
    content.setWindowTitle(style.accessibilityTitle);
    content.setAccessibleName(style.accessibilityTitle);
    if (style.acceptsMouseMoved) content.setMouseTracking(true);
    content.hide(); // a panel appears only when ordered front
    std::unique_ptr<FloatingPanel> panel = createPanel(content, style);
    if (hover_ && style.acceptsMouseMoved) panel = hover_->follow(std::move(panel), content);
    return std::make_unique<KnownPanel>(std::move(panel), made_);
}

void PanelHost::hoverThroughMonitors(Screens& screens, MainQueue& queue) {
    hover_ = std::make_unique<PanelHover>(screens, queue, *this);
}

QAction* PanelHost::trackMenu(QMenu& menu, QPoint at) const {
    return menu.exec(container() ? container()->mapToGlobal(at) : at);
}

namespace {

// Qt's presses as they are delivered: the first widget a press reaches is where it landed.
class PressWatch final : public QObject {
public:
    explicit PressWatch(std::function<void(QWidget*)> handler) : handler_(std::move(handler)) {
        qApp->installEventFilter(this);
    }
    ~PressWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress || !event->spontaneous()) return false;
        const auto* press = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (press->button() != Qt::LeftButton && press->button() != Qt::RightButton))
            return false;
        // A press the widget leaves goes on to its parents as a copy: the same click.
        if (press->timestamp() == last_ && widget->isAncestorOf(landed_)) return false;
        last_ = press->timestamp();
        landed_ = widget;
        handler_(widget);
        return false;
    }

private:
    std::function<void(QWidget*)> handler_;
    quint64 last_ = 0;
    QPointer<QWidget> landed_;
};

} // namespace

QSize PanelHost::windowRoom() const {
    // The window manager's title bar, about as tall as a Mac's.
    constexpr int kTitleBar = 28;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() - QSize(0, kTitleBar) : QSize();
}

int64_t PanelHost::windowNumber(const QWidget& content) const {
    return content.isWindow() ? static_cast<int64_t>(content.internalWinId()) : 0;
}

Subscription PanelHost::observeClicks(std::function<void(QWidget*)> handler) const {
    auto watch = std::make_shared<PressWatch>(std::move(handler));
    return Subscription([watch]() mutable { watch.reset(); });
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

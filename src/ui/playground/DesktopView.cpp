#include "DesktopView.h"

#include "MacMenuStyle.h"
#include "ProgramWindowFrame.h"
#include "QtKeyMap.h"
#include "SystemPanels.h"
#include "WindowChrome.h"
#include "core/menus/MenuPresenter.h"
#include "core/windows/SnapGeometry.h"
#include "ports/EventTapHost.h"
#include "ports/KeyCodes.h"
#include "ui/common/QtFloatingPanel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <set>

namespace fenwold {

namespace {

constexpr int kDockIcon = 52;
// Window numbers of the program's own windows, above the simulated applications' ones.
constexpr int64_t kPanelWindows = 1'000'000;
constexpr int64_t kProgramWindows = 2'000'000;
constexpr int kDockGap = 10;

QColor appColour(const QString& name) {
    const uint hue = qHash(name) % 360;
    return QColor::fromHsv(static_cast<int>(hue), 150, 210);
}

QRect toQRect(const Rect& r) {
    return QRect(qRound(r.x), qRound(r.y), qRound(r.width), qRound(r.height));
}

} // namespace

DesktopView::DesktopView(SimSession& session, SimApps& apps, SimHardware& hardware, QWidget* parent)
    : QWidget(parent), session_(session), apps_(apps), hardware_(hardware) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
    macMenuStyle_ = std::make_unique<MacMenuStyle>();
    session_.screens.setWindowNumberAt([this](Point p) {
        return windowNumberAt(toWidget(Rect{p.x, p.y, 0, 0}).topLeft());
    });
    // A press the program held back and gave back reaches the screen as the mouse's own would.
    session_.clicks.onPost = [this](const PostedClick& click) {
        if (click.type != eventtype::leftMouseDown) return;
        windowServerDown(QPoint(qRound(click.location.x), qRound(click.location.y)),
                         static_cast<int>(click.clickState), false, click.flags);
        update();
    };
}

DesktopView::~DesktopView() {
    session_.clicks.onPost = nullptr;
    session_.screens.setWindowNumberAt(nullptr);
    if (dockPid_) session_.accessibility.onHitTest(dockPid_, [](Point) { return AXValue::missing(); });
}

void DesktopView::publishDock() {
    SimAccessibility& ax = session_.accessibility;
    if (!dockPid_) {
        dockPid_ = session_.app(QStringLiteral("com.apple.dock"), QStringLiteral("Dock")).accessory().pid();
        ax.onHitTest(dockPid_, [this](Point p) {
            const QPoint at(qFloor(p.x), qFloor(p.y));
            for (const auto& [pid, item] : dockItems_)
                if (const auto r = dockIconRect(pid); r && r->contains(at)) return AXValue::of(item);
            return AXValue::missing();
        });
    }
    for (SimApplication* app : dockApps()) {
        AXElement& item = dockItems_[app->pid()];
        if (item.isNull()) {
            item = ax.create(dockPid_);
            ax.set(item, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXDockItem")));
            ax.set(item, QStringLiteral("AXSubrole"), AXValue::of(QStringLiteral("AXApplicationDockItem")));
            ax.set(item, QStringLiteral("AXTitle"), AXValue::of(app->name()));
            ax.set(item, QStringLiteral("AXIsApplicationRunning"), AXValue::of(true));
        }
        const QRect r = *dockIconRect(app->pid());
        ax.set(item, QStringLiteral("AXPosition"), AXValue::of(Point{double(r.x()), double(r.y())}));
        ax.set(item, QStringLiteral("AXSize"), AXValue::of(Size{double(r.width()), double(r.height())}));
    }
    const DockEdge edge = dockEdge();
    session_.prefs.setDomainValue(QStringLiteral("com.apple.dock"), QStringLiteral("orientation"),
                                  edge == DockEdge::bottom ? QStringLiteral("bottom")
                                  : edge == DockEdge::left ? QStringLiteral("left")
                                                           : QStringLiteral("right"));
}

QRect DesktopView::screenRect() const {
    const auto screens = session_.screens.screens();
    if (screens.empty()) return QRect(0, 0, 1440, 900);
    return QRect(0, 0, qRound(screens.front().frame.width), qRound(screens.front().frame.height));
}

std::vector<QRect> DesktopView::displayRects(bool visible) const {
    // Accessibility coordinates, which the view's own are: y down from the primary's top-left.
    const auto screens = session_.screens.screens();
    std::vector<QRect> rects;
    for (const ScreenInfo& s : screens)
        rects.push_back(
            toQRect(snapgeometry::toAX(visible ? s.visibleFrame : s.frame, screens.front().frame.height)));
    return rects;
}

QRect DesktopView::desktopRect() const {
    // Displays right of and below the primary widen the view; ones left of or above it would lie
    // at negative coordinates and are not drawn.
    QRect all = screenRect();
    for (const QRect& r : displayRects(false))
        all = all.united(r);
    return QRect(0, 0, all.right() + 1, all.bottom() + 1);
}

QRect DesktopView::visibleRect() const {
    // The visible frame in Accessibility coordinates: screens are y-up, so flip it.
    const auto screens = session_.screens.screens();
    if (screens.empty()) return screenRect();
    const ScreenInfo& s = screens.front();
    const Rect& v = s.visibleFrame;
    return QRect(qRound(v.x), qRound(s.frame.height - v.maxY()), qRound(v.width), qRound(v.height));
}

void DesktopView::displaysChanged() {
    setFixedSize(sizeHint());
    update();
}

QSize DesktopView::sizeHint() const {
    return desktopRect().size();
}

std::unique_ptr<FloatingPanel> DesktopView::createPanel(QWidget& content, const PanelStyle& style) const {
    panels_.emplace_back(&content);
    return std::make_unique<ChildFloatingPanel>(content, style, *this);
}

bool DesktopView::isPanel(const QWidget& widget) const {
    const QWidget* top = &widget;
    while (top->parentWidget() && top->parentWidget() != this)
        top = top->parentWidget();
    return std::any_of(panels_.begin(), panels_.end(),
                       [top](const QPointer<QWidget>& p) { return p == top; });
}

QRect DesktopView::toWidget(const Rect& frame) const {
    return QRect(qRound(frame.x), qRound(screenRect().height() - frame.maxY()), qRound(frame.width),
                 qRound(frame.height));
}

void DesktopView::setIcon(const QImage& icon) {
    statusIcon_ = icon;
    update();
}

void DesktopView::install(const QImage& icon, std::function<void(TrayClicks::Button, int)> onClick) {
    statusIcon_ = icon;
    statusClick_ = std::move(onClick);
    update();
}

void DesktopView::showMenu(QMenu& menu) {
    // The key equivalents as a Mac's menus write them.
    menu.setStyle(macMenuStyle_.get());
    openMenu(menu, statusItemRect().bottomLeft() + QPoint(0, 1));
    // Nothing waits for this menu: it closes itself once an item is chosen.
    QObject::connect(&menu, &QMenu::triggered, &menu, [m = &menu] { m->hide(); });
}

QRect DesktopView::menuBarRect() const {
    return QRect(0, 0, screenRect().width(), std::max(22, visibleRect().top()));
}

QRect DesktopView::statusItemRect() const {
    const QRect bar = menuBarRect();
    return QRect(bar.right() - 150, bar.top() + (bar.height() - 20) / 2, 24, 20);
}

QRect DesktopView::inputMenuRect() const {
    const QRect bar = menuBarRect();
    return QRect(bar.right() - 121, bar.top(), 34, bar.height());
}

std::vector<QWidget*> DesktopView::programPanels() const {
    std::vector<QWidget*> list;
    for (const QPointer<QWidget>& p : panels_)
        if (p) list.push_back(p);
    return list;
}

std::vector<QWidget*> DesktopView::programWindows() const {
    std::vector<QWidget*> list;
    for (QObject* child : children())
        if (auto* frame = dynamic_cast<ProgramWindowFrame*>(child);
            frame && frame->isVisible() && frame->content())
            list.push_back(frame->content());
    return list;
}

std::vector<int> DesktopView::spaces() const {
    return session_.windows.spaces();
}

QRect DesktopView::spaceButtonRect(int space) const {
    const std::vector<int> all = spaces();
    const int index = static_cast<int>(std::find(all.begin(), all.end(), space) - all.begin());
    const QRect bar = menuBarRect();
    const int left = statusItemRect().left() - 12 - static_cast<int>(all.size()) * 22;
    return QRect(left + index * 22, bar.top() + (bar.height() - 18) / 2, 18, 18);
}

std::vector<SimApplication*> DesktopView::dockApps() const {
    std::vector<SimApplication*> list;
    for (SimApplication* app : apps_.all())
        if (app->running()) list.push_back(app);
    return list;
}

DesktopView::DockEdge DesktopView::dockEdge() const {
    const QRect screen = screenRect();
    const QRect visible = visibleRect();
    if (visible.left() > screen.left()) return DockEdge::left;
    if (visible.right() < screen.right()) return DockEdge::right;
    return DockEdge::bottom;
}

std::optional<QRect> DesktopView::dockIconRect(int32_t pid) const {
    // The Dock sits in the band the visible frame leaves free: bottom, left or right.
    const std::vector<SimApplication*> list = dockApps();
    const int total = static_cast<int>(list.size()) * (kDockIcon + kDockGap) - kDockGap;
    const QRect screen = screenRect();
    const QRect visible = visibleRect();
    const DockEdge edge = dockEdge();
    QPoint at;
    if (edge == DockEdge::bottom)
        at = QPoint((screen.width() - total) / 2,
                    visible.bottom() + 1 + (screen.bottom() - visible.bottom() - kDockIcon) / 2 - 3);
    else if (edge == DockEdge::left)
        at = QPoint((visible.left() - kDockIcon) / 2 + 3, visible.top() + (visible.height() - total) / 2);
    else
        at = QPoint(visible.right() + 1 + (screen.right() - visible.right() - kDockIcon) / 2 - 3,
                    visible.top() + (visible.height() - total) / 2);
    const QPoint step =
        edge == DockEdge::bottom ? QPoint(kDockIcon + kDockGap, 0) : QPoint(0, kDockIcon + kDockGap);
    for (SimApplication* app : list) {
        if (app->pid() == pid) return QRect(at, QSize(kDockIcon, kDockIcon));
        at += step;
    }
    return std::nullopt;
}

std::vector<SimWindow> DesktopView::visibleWindows() const {
    std::vector<SimWindow> list;
    const int space = session_.windows.currentSpace();
    for (uint32_t n : session_.windows.stacking()) {
        const auto w = session_.windows.window(n);
        if (!w || w->minimized || w->space != space || w->layer != 0) continue;
        const auto app = session_.workspace.app(w->pid);
        if (!app || app->hidden || !apps_.byPid(w->pid)) continue;
        list.push_back(*w);
    }
    return list;
}

DesktopScene DesktopView::scene() const {
    DesktopScene s;
    s.displays = displayRects(false);
    s.visibleFrames = displayRects(true);
    const auto front = session_.workspace.frontmostApp();
    const std::optional<uint32_t> focused = front ? session_.windows.focusedWindow(front->pid) : std::nullopt;
    for (const SimWindow& w : visibleWindows())
        s.windows.push_back({w.number, toQRect(w.frame), front && w.pid == front->pid && focused == w.number,
                             w.fullscreen, lookOf(w)});
    if (front) s.frontName = front->name;
    s.spaces = spaces();
    s.currentSpace = session_.windows.currentSpace();
    s.statusIcon = statusIcon_.cacheKey();
    s.layoutLabel = session_.keyboardLayout.typing().label;
    for (SimApplication* app : dockApps())
        s.dock.push_back({app->pid(), session_.workspace.icon(app->pid()).cacheKey()});
    s.panel = session_.systemUI.panel();
    s.confirmation = session_.systemUI.confirmation();
    for (const RunningApp& app : session_.workspace.runningApps())
        if (app.policy == ActivationPolicy::regular && app.name) s.regularApps << *app.name;
    return s;
}

bool DesktopView::updateIfChanged() {
    DesktopScene now = scene();
    if (now == shown_) return false;
    shown_ = std::move(now);
    update();
    return true;
}

void DesktopView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Each display with its wallpaper; the menu bar of the ones besides the primary is a plain strip.
    p.fillRect(rect(), QColor(20, 20, 24));
    const std::vector<QRect> displays = displayRects(false), visible = displayRects(true);
    for (std::size_t i = 0; i < displays.size(); ++i) {
        const QRect d = displays[i];
        QLinearGradient wallpaper(d.topLeft(), d.bottomRight());
        wallpaper.setColorAt(0, QColor(44, 62, 110));
        wallpaper.setColorAt(1, QColor(120, 70, 130));
        p.fillRect(d, wallpaper);
        if (i > 0)
            p.fillRect(QRect(d.left(), d.top(), d.width(), visible[i].top() - d.top()),
                       QColor(245, 245, 247, 150));
    }

    const std::vector<SimWindow> windows = visibleWindows();
    const auto front = session_.workspace.frontmostApp();
    const std::optional<uint32_t> focused = front ? session_.windows.focusedWindow(front->pid) : std::nullopt;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        paintWindow(p, *it, front && it->pid == front->pid && focused == it->number);
    const bool fullscreen = !windows.empty() && windows.front().fullscreen;
    if (!fullscreen) {
        paintMenuBar(p);
        paintDock(p);
    }
    paintSystemPanel(p, session_.systemUI, session_.workspace, screenRect());
}

void DesktopView::paintMenuBar(QPainter& p) const {
    const QRect bar = menuBarRect();
    p.fillRect(bar, QColor(245, 245, 247, 215));
    QFont font = p.font();
    font.setPixelSize(13);
    const auto front = session_.workspace.frontmostApp();
    int x = 18;
    p.setPen(Qt::black);
    if (front && front->name) {
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(x, bar.top(), 300, bar.height()), Qt::AlignVCenter, *front->name);
        x += p.fontMetrics().horizontalAdvance(*front->name) + 20;
        font.setBold(false);
        p.setFont(font);
        for (const char* item : {"File", "Edit", "View", "Window", "Help"}) {
            const QString text = QString::fromLatin1(item);
            p.drawText(QRect(x, bar.top(), 200, bar.height()), Qt::AlignVCenter, text);
            x += p.fontMetrics().horizontalAdvance(text) + 18;
        }
    }
    p.setFont(font);
    // Spaces, the status item, the clock.
    const int current = session_.windows.currentSpace();
    for (int space : spaces()) {
        const QRect r = spaceButtonRect(space);
        p.setPen(Qt::NoPen);
        p.setBrush(space == current ? QColor(40, 40, 40) : QColor(0, 0, 0, 40));
        p.drawRoundedRect(r, 4, 4);
        p.setPen(space == current ? Qt::white : Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::number(space));
    }
    if (!statusIcon_.isNull()) p.drawImage(statusItemRect().adjusted(3, 1, -3, -1), statusIcon_);
    p.setPen(Qt::black);
    // The input menu: the selected keyboard layout.
    p.drawText(inputMenuRect(), Qt::AlignVCenter | Qt::AlignLeft, session_.keyboardLayout.typing().label);
    p.drawText(QRect(bar.right() - 115, bar.top(), 105, bar.height()), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("Sun 9:41 AM"));
}

void DesktopView::paintDock(QPainter& p) const {
    const std::vector<SimApplication*> list = dockApps();
    if (list.empty()) return;
    const QRect first = *dockIconRect(list.front()->pid());
    const QRect last = *dockIconRect(list.back()->pid());
    p.setPen(QColor(255, 255, 255, 90));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(first.united(last).adjusted(-10, -6, 10, 10), 16, 16);
    const DockEdge edge = dockEdge();
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    for (SimApplication* app : list) {
        const QRect r = *dockIconRect(app->pid());
        QImage icon = session_.workspace.icon(app->pid());
        if (!icon.isNull()) {
            p.drawImage(r, icon);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(appColour(app->name()));
            p.drawRoundedRect(r, 12, 12);
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, app->name().left(1));
        }
        // The running dot, on the side of the icon that faces the screen's edge.
        const QPointF dot = edge == DockEdge::bottom ? QPointF(r.center().x() + 0.5, r.bottom() + 6)
                            : edge == DockEdge::left ? QPointF(r.left() - 5, r.center().y() + 0.5)
                                                     : QPointF(r.right() + 6, r.center().y() + 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(dot, 2, 2);
    }
}

WindowLook DesktopView::lookOf(const SimWindow& w) const {
    WindowLook look{w.pid, w.title, toQRect(w.frame).size(), {}, 0};
    if (SimApplication* app = apps_.byPid(w.pid)) {
        look.content = app->content(w.number);
        look.picture = app->picture(w.number).cacheKey();
    }
    return look;
}

void DesktopView::paintWindow(QPainter& p, const SimWindow& w, bool active) const {
    const QRect frame = toQRect(w.frame);
    QPainterPath shape;
    shape.addRoundedRect(frame, 10, 10);
    p.fillPath(shape.translated(0, 4), QColor(0, 0, 0, 50));
    paintWindowChrome(p, frame, w.title, active);
    SimApplication* app = apps_.byPid(w.pid);
    if (!app) return;
    const QRect content = frame.adjusted(12, kTitleBarHeight + 8, -12, -8);
    p.save();
    p.setClipRect(content);
    const QImage picture = app->picture(w.number);
    int y = content.top();
    if (!picture.isNull()) {
        const QSize size = picture.size().scaled(content.size() - QSize(0, 24), Qt::KeepAspectRatio);
        p.drawImage(QRect(QPoint(content.center().x() - size.width() / 2, y), size), picture);
        y += size.height() + 4;
    }
    const bool terminal = app == &apps_.terminal();
    QFont text = p.font();
    text.setBold(false);
    text.setPixelSize(13);
    if (terminal) {
        p.fillRect(frame.adjusted(0, kTitleBarHeight, 0, 0).intersected(content.adjusted(-12, -8, 12, 8)),
                   QColor(30, 30, 30));
        text.setFamily(QStringLiteral("monospace"));
        text.setStyleHint(QFont::Monospace);
    }
    p.setFont(text);
    p.setPen(terminal ? QColor(220, 220, 220) : QColor(30, 30, 30));
    const int lineHeight = p.fontMetrics().height() + 2;
    // A selection arrives between corner marks (which may span lines); it is drawn highlighted.
    bool selecting = false;
    const QColor highlight = active ? QColor(179, 215, 255) : QColor(220, 220, 220);
    for (const QString& line : app->content(w.number)) {
        int x = content.left();
        QString run;
        const auto flush = [&] {
            const int advance = p.fontMetrics().horizontalAdvance(run);
            if (selecting && !run.isEmpty()) p.fillRect(QRect(x, y, advance, lineHeight), highlight);
            p.drawText(QRect(x, y, content.right() - x, lineHeight), Qt::AlignVCenter, run);
            x += advance;
            run.clear();
        };
        for (const QChar c : line) {
            if (c == QChar(0x231C) || c == QChar(0x231F)) {
                flush();
                selecting = c == QChar(0x231C);
            } else {
                run += c;
            }
        }
        if (selecting) run += QLatin1Char(' '); // a selected line break
        flush();
        y += lineHeight;
    }
    p.restore();
}

DesktopView::WindowPart DesktopView::partAt(const SimWindow& w, QPoint at) const {
    const QRect frame = toQRect(w.frame);
    if (!frame.contains(at)) return WindowPart::none;
    for (int i = 0; i < 3; ++i)
        if (titleBarButton(frame, i).adjusted(-3, -3, 3, 3).contains(at))
            return i == 0 ? WindowPart::close : i == 1 ? WindowPart::minimize : WindowPart::zoom;
    return at.y() < frame.top() + kTitleBarHeight ? WindowPart::titleBar : WindowPart::content;
}

void DesktopView::bringForward(const SimWindow& w) {
    session_.windows.raise(w.number);
    session_.workspace.activate(w.pid);
}

void DesktopView::zoom(const SimWindow& w) {
    // The visible frame of the window's own display.
    const auto screens = session_.screens.screens();
    const int display = snapgeometry::screenIndexContainingAX(screens, 0, w.frame);
    const QRect v = display >= 0 ? displayRects(true)[static_cast<std::size_t>(display)] : visibleRect();
    const bool zoomed = toQRect(w.frame) == v;
    session_.windows.update(w.number, [&](SimWindow& win) {
        win.frame = zoomed ? Rect{v.x() + 80.0, v.y() + 60.0, v.width() * 0.6, v.height() * 0.7}
                           : Rect{double(v.x()), double(v.y()), double(v.width()), double(v.height())};
    });
}

bool DesktopView::fades() const {
    const QGraphicsProxyWidget* proxy = graphicsProxyWidget();
    if (!proxy || !proxy->scene()) return true;
    const auto views = proxy->scene()->views();
    return std::all_of(views.begin(), views.end(),
                       [](const QGraphicsView* view) { return qFuzzyCompare(view->transform().m11(), 1.0); });
}

int64_t DesktopView::windowNumber(const QWidget& content) const {
    const auto it = std::find(panels_.begin(), panels_.end(), &content);
    return it == panels_.end() ? 0 : kPanelWindows + (it - panels_.begin());
}

int64_t DesktopView::windowNumberAt(QPoint at) const {
    // Menus Qt shows over the screen (a card's menu) lie above everything drawn in it.
    const QGraphicsProxyWidget* screen = graphicsProxyWidget();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        const QGraphicsProxyWidget* proxy = top->graphicsProxyWidget();
        if (screen && proxy && proxy != screen && top->isVisible() &&
            proxy->mapRectToItem(screen, proxy->boundingRect()).contains(QPointF(at)))
            return kProgramWindows;
    }
    if (QWidget* child = childAt(at)) {
        while (child->parentWidget() != this)
            child = child->parentWidget();
        const int64_t panel = windowNumber(*child);
        return panel ? panel : kProgramWindows;
    }
    for (const SimWindow& w : visibleWindows())
        if (partAt(w, at) != WindowPart::none) return w.number;
    return 0;
}

QWidget* DesktopView::programWidgetAt(QPoint at) const {
    // Everything else on the screen is drawn by the view itself; panels that take no input are
    // transparent to the mouse and not found here.
    return childAt(at);
}

void DesktopView::sendMouse(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button) const {
    const QPointF local = target.mapFrom(this, QPointF(at));
    const QPointF global = mapToGlobal(QPointF(at));
    // Moves between a press and its release carry the held button (widgets without mouse
    // tracking see only those).
    const bool held = pressedWidget_ && type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, local, global, button, held ? pressedButton_ : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

void DesktopView::pointerMove(QPoint at) {
    // A press keeps the pointer's moves until its release: a drag, which the pointer monitors do
    // not see. The simulated pointer still follows the hand, as the Mac's does over any window.
    if (QWidget* held = pressedWidget_) {
        hardware_.dragPointer({double(at.x()), double(at.y())});
        sendMouse(*held, QEvent::MouseMove, at, Qt::NoButton);
        update();
        return;
    }
    // The program's own windows track the pointer as the active application's do; its panels
    // learn of the move only from its pointer monitors, as on a Mac. A window being dragged keeps
    // the moves.
    QWidget* target = hardware_.buttonDown() ? nullptr : programWidgetAt(at);
    screenMove(at);
    if (target && !isPanel(*target)) sendMouse(*target, QEvent::MouseMove, at, Qt::NoButton);
}

void DesktopView::pointerDown(QPoint at, int clickCount, bool rightButton) {
    QPointer<QWidget> target = programWidgetAt(at);
    clickLanded(target);
    if (target) {
        pressedWidget_ = target;
        pressedButton_ = rightButton ? Qt::RightButton : Qt::LeftButton;
        sendMouse(*target, clickCount >= 2 ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at,
                  pressedButton_);
        if (rightButton && target) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, target->mapFrom(this, at), mapToGlobal(at));
            QCoreApplication::sendEvent(target, &menu);
        }
        update();
        return;
    }
    screenDown(at, clickCount, rightButton);
}

Subscription DesktopView::observeClicks(std::function<void(QWidget*)> handler) const {
    return clicks_.add([this, handler = std::move(handler)] { handler(landed_); });
}

void DesktopView::clickLanded(QWidget* landedIn) const {
    landed_ = landedIn;
    clicks_.notify();
}

void DesktopView::pointerUp(QPoint at, int clickCount) {
    if (QPointer<QWidget> target = pressedWidget_) {
        sendMouse(*target, QEvent::MouseButtonRelease, at, pressedButton_);
        pressedWidget_ = nullptr;
        update();
        return;
    }
    screenUp(at, clickCount);
}

void DesktopView::screenMove(QPoint at) {
    // With the button down the move is a drag, which carries a window picked up by its title bar.
    if (hardware_.buttonDown())
        hardware_.dragPointer({double(at.x()), double(at.y())});
    else
        hardware_.movePointer({double(at.x()), double(at.y())});
    // The simulated Mac's cursor, as the program's hover set it, is the host's over the screen.
    const PointerCursor cursor = session_.screens.cursor();
    setCursor(cursor == PointerCursor::iBeam          ? Qt::IBeamCursor
              : cursor == PointerCursor::pointingHand ? Qt::PointingHandCursor
                                                      : Qt::ArrowCursor);
    update();
}

void DesktopView::handOverKey(QWidget& target, QKeyEvent& event) {
    const bool outer = !handingOver_;
    handingOver_ = true;
    QCoreApplication::sendEvent(&target, &event);
    if (outer) handingOver_ = false;
}

QWidget* DesktopView::keyProgramWindow() const {
    return keyFrame_ && keyFrame_->isVisible() ? keyFrame_->content() : nullptr;
}

void DesktopView::screenDown(QPoint at, int clickCount, bool rightButton) {
    if (session_.systemUI.panel() != SimSystemUI::Panel::none) {
        // A click anywhere closes the system's panel, as it does on a Mac, and does nothing else.
        session_.systemUI.dismiss();
        update();
        return;
    }
    if (QMenu* menu = trackedMenu_) {
        // A click elsewhere dismisses the open menu and does nothing else.
        menu->hide();
        dismissing_ = true;
        update();
        return;
    }
    keyFrame_.clear();
    if (hardware_.mouseDown({double(at.x()), double(at.y())}, clickCount) == TapAnswer::swallow) return;
    windowServerDown(at, clickCount, rightButton, hardware_.flags());
}

void DesktopView::windowServerDown(QPoint at, int clickCount, bool rightButton, uint64_t flags) {
    if (inputMenuRect().contains(at)) {
        openInputMenu();
        return;
    }
    if (statusItemRect().contains(at) && statusClick_) {
        statusClick_(rightButton ? TrayClicks::Button::right : TrayClicks::Button::left, clickCount);
        return;
    }
    for (int space : spaces())
        if (spaceButtonRect(space).contains(at)) {
            session_.windows.switchToSpace(space);
            update();
            return;
        }
    for (SimApplication* app : dockApps())
        if (dockIconRect(app->pid())->contains(at)) {
            // Clicking a Dock icon brings the application forward with its front window.
            session_.workspace.unhide(app->pid());
            const auto windows = session_.windows.windowsOf(app->pid());
            for (const SimWindow& w : windows)
                if (w.minimized) session_.windows.update(w.number, [](SimWindow& m) { m.minimized = false; });
            if (const auto focused = session_.windows.focusedWindow(app->pid()))
                session_.windows.raise(*focused);
            session_.workspace.activate(app->pid());
            update();
            return;
        }
    for (const SimWindow& w : visibleWindows()) {
        const WindowPart part = partAt(w, at);
        if (part == WindowPart::none) continue;
        bringForward(w);
        if (part == WindowPart::close) session_.windows.close(w.number);
        if (part == WindowPart::minimize)
            session_.windows.update(w.number, [](SimWindow& m) { m.minimized = true; });
        // The green button: full screen, or in and out of it; with Option the window's zoom.
        if (part == WindowPart::zoom && !(flags & flag::option))
            session_.accessibility.performAction(w.zoomButton, QStringLiteral("AXPress"));
        else if (part == WindowPart::zoom || (part == WindowPart::titleBar && clickCount >= 2))
            zoom(w);
        break;
    }
    update();
}

void DesktopView::screenUp(QPoint at, int clickCount) {
    if (dismissing_) {
        dismissing_ = false;
        return;
    }
    hardware_.mouseUp({double(at.x()), double(at.y())}, clickCount);
    update();
}

void DesktopView::keyPressEvent(QKeyEvent* e) {
    if (handingOver_) return;
    if (interceptKey && interceptKey(e)) return;
    const auto code = macKeyCode(*e);
    if (!code) return;
    hardware_.keyDown(*code, e->isAutoRepeat());
    update();
}

void DesktopView::keyReleaseEvent(QKeyEvent* e) {
    if (handingOver_) return;
    // The host repeats a held key as release-press pairs; the Mac only repeats the press.
    if (e->isAutoRepeat()) return;
    const auto code = macKeyCode(*e);
    if (!code) return;
    hardware_.keyUp(*code);
    update();
}

void DesktopView::focusOutEvent(QFocusEvent*) {
    // A panel inside the screen taking focus (the shelf's search field) must not take the host's
    // keyboard: keys keep arriving through the simulated hardware, which hands them on.
    // Shown through the playground window's scene, the screen is a window of its own there, and the
    // widget its focus went to is its own focus widget, not the application's.
    QWidget* now = QApplication::focusWidget();
    if (!now || !isAncestorOf(now)) now = window()->focusWidget();
    if (now && now != this && isAncestorOf(now)) {
        QMetaObject::invokeMethod(
            this, [this] { setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
        return;
    }
    hardware_.releaseAll();
}

void DesktopView::openMenu(QMenu& menu, QPoint at) const {
    auto* self = const_cast<DesktopView*>(this);
    // One menu is open at a time.
    if (trackedMenu_ && trackedMenu_ != &menu) trackedMenu_->hide();
    // A child of the screen rather than a pop-up window, so that it is drawn over the simulated
    // screen (and into its screenshots) and scales with it.
    menu.setParent(self, Qt::Widget);
    const QSize size = menu.sizeHint();
    const QRect screen = screenRect();
    menu.setGeometry(QRect(QPoint(std::clamp(at.x(), 0, std::max(0, screen.width() - size.width())),
                                  std::clamp(at.y(), 0, std::max(0, screen.height() - size.height()))),
                           size));
    // However it closes (an item chosen, Escape, a click elsewhere), the keys go back.
    QObject::connect(&menu, &QMenu::aboutToHide, self, [self, m = &menu] {
        if (self->trackedMenu_ == m) self->trackedMenu_ = nullptr;
        self->update();
    });
    menu.show();
    menu.raise();
    trackedMenu_ = &menu;
    self->update();
}

void DesktopView::openInputMenu() {
    inputMenu_ = std::make_unique<QMenu>();
    SimKeyboardLayout& layout = session_.keyboardLayout;
    for (const SimLayout& l : layout.layouts()) {
        QAction* item = inputMenu_->addAction(l.name, this, [&layout, id = l.id] { layout.select(id); });
        item->setCheckable(true);
        item->setChecked(l.id == layout.typing().id);
    }
    openMenu(*inputMenu_, inputMenuRect().bottomLeft() + QPoint(0, 1));
    QObject::connect(inputMenu_.get(), &QMenu::triggered, inputMenu_.get(),
                     [m = inputMenu_.get()] { m->hide(); });
}

QAction* DesktopView::trackMenu(QMenu& menu, QPoint at) const {
    QAction* chosen = nullptr;
    bool closed = false;
    QObject::connect(&menu, &QMenu::triggered, &menu, [&](QAction* action) {
        chosen = action;
        closed = true;
    });
    QObject::connect(&menu, &QMenu::aboutToHide, &menu, [&] { closed = true; });
    openMenu(menu, at);
    if (runModal) runModal([&] { return closed; });
    QObject::disconnect(&menu, nullptr, &menu, nullptr);
    menu.hide();
    if (trackedMenu_ == &menu) trackedMenu_ = nullptr;
    const_cast<DesktopView*>(this)->update();
    return chosen;
}

void DesktopView::showWindow(QWidget& window) const {
    auto* self = const_cast<DesktopView*>(this);
    auto* frame = dynamic_cast<ProgramWindowFrame*>(window.parentWidget());
    const bool first = !frame;
    if (first) {
        frame = new ProgramWindowFrame(window, *self, menuBarRect().height());
        frame->onPressed = [this, f = QPointer<ProgramWindowFrame>(frame)] { keyFrame_ = f; };
    }
    // Opening a window of the program makes it the key window, as the application comes forward.
    keyFrame_ = frame;
    window.show();
    frame->show();
    frame->raise();
    if (first) {
        frame->move((screenRect().width() - frame->width()) / 2, menuBarRect().height() + 60);
        frame->setBottomLimit(visibleRect().bottom());
    }
    self->update();
}

QSize DesktopView::windowRoom() const {
    return visibleRect().size() - QSize(0, kTitleBarHeight);
}

void DesktopView::menuKey(uint16_t macKeyCode, uint64_t macFlags) {
    QMenu* menu = trackedMenu_;
    if (!menu) return;
    const auto press = qtKeyPress(macKeyCode, macFlags, session_.keyboardLayout);
    if (!press) return;
    if (press->text.size() == 1 && press->text.front().isLetterOrNumber()) {
        // An underlined letter chooses its item, as in a Windows menu; in a menu without them a
        // letter selects the first item starting with it, as in any Mac menu.
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled() &&
                menuRowLetter(action->text()) == press->text.front().toLower()) {
                action->trigger();
                menu->hide();
                return;
            }
        }
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isEnabled()) continue;
            if (menuRowText(action->text()).startsWith(press->text, Qt::CaseInsensitive)) {
                menu->setActiveAction(action);
                break;
            }
        }
        return;
    }
    QKeyEvent event(QEvent::KeyPress, press->key, press->modifiers, press->text);
    handOverKey(*menu, event);
    update();
}

void DesktopView::refreshWindowImages() {
    std::map<uint32_t, WindowLook> imaged;
    for (uint32_t n : session_.windows.stacking()) {
        const auto w = session_.windows.window(n);
        if (!w || !apps_.byPid(w->pid)) continue;
        WindowLook look = lookOf(*w);
        const auto before = imaged_.find(n);
        const bool same = before != imaged_.end() && before->second == look;
        imaged[n] = std::move(look);
        if (same) continue;
        const QRect frame = toQRect(w->frame);
        QImage image(frame.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-frame.topLeft());
        paintWindow(p, *w, true);
        p.end();
        session_.windows.update(n, [&](SimWindow& win) {
            win.captureImage = image;
            win.directImage = image;
        });
    }
    // Closed windows are forgotten.
    imaged_ = std::move(imaged);
}

QImage DesktopView::snapshot() {
    return grab().toImage();
}

} // namespace fenwold

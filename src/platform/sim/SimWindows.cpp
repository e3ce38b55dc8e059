#include "SimWindows.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <set>

namespace fenwold {

namespace {

const QString kWindows = QStringLiteral("AXWindows");

// Something a real window would show: a title strip, a body with a gradient and a few lines.
QImage drawnContent(const QString& title, Size size, uint32_t seed) {
    const int w = 200;
    const int h = std::clamp(
        static_cast<int>(size.height > 0 && size.width > 0 ? w * size.height / size.width : 150), 20, 600);
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor::fromHsv(static_cast<int>(seed * 37 % 360), 90, 240));
    g.setColorAt(1, QColor::fromHsv(static_cast<int>(seed * 37 % 360), 160, 120));
    p.fillRect(image.rect(), g);
    p.fillRect(0, 0, w, 14, QColor(230, 230, 230));
    p.setPen(Qt::black);
    p.drawText(QRect(4, 0, w - 8, 14), Qt::AlignVCenter, title);
    for (int y = 24; y < h - 6; y += 10)
        p.drawLine(8, y, w - 8 - (y * 7 % 60), y);
    return image;
}

QByteArray remoteToken(int32_t pid, uint64_t identifier) {
    QByteArray token(20, '\0');
    auto put = [&](int offset, uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            token[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(0, static_cast<uint32_t>(pid), 4);
    put(8, 0x636F636F, 4);
    put(12, identifier, 8);
    return token;
}

} // namespace

Size SimWindow::acceptedSize(Size asked) const {
    Size size = asked;
    if (minSize) size = {std::max(size.width, minSize->width), std::max(size.height, minSize->height)};
    if (maxSize) size = {std::min(size.width, maxSize->width), std::min(size.height, maxSize->height)};
    return size;
}

Rect SimWindows::buttonFrame(const Rect& w, int index) {
    return {w.x + 12 + 20.0 * index, w.y + 8, 12, 12};
}

SimWindows::SimWindows(SimAccessibility& ax, SimWindowServer& server, SimWorkspace& workspace,
                       SimScreens& screens, MainQueue& queue)
    : ax_(ax), server_(server), workspace_(workspace), screens_(screens), queue_(&queue) {
    workspaceSub_ = workspace_.observe([this](const WorkspaceEvent& e) { onWorkspace(e); });
    sync();
}

void SimWindows::setQueue(MainQueue& queue) {
    queue_ = &queue;
}

SimWindows::AppTree& SimWindows::tree(int32_t pid) {
    auto it = apps_.find(pid);
    if (it != apps_.end()) return it->second;
    AppTree& t = apps_[pid];
    t.app = ax_.application(pid);
    buildMenus(pid);
    publishApp(pid);
    return t;
}

AXElement SimWindows::menuItem(int32_t pid, const QString& title, std::function<int32_t()> press) {
    AXElement item = ax_.create(pid);
    ax_.set(item, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXMenuItem")));
    ax_.set(item, QStringLiteral("AXTitle"), AXValue::of(title));
    ax_.set(item, QStringLiteral("AXEnabled"), AXValue::of(true));
    if (press) ax_.onAction(item, QStringLiteral("AXPress"), std::move(press));
    apps_[pid].items[title] = item;
    return item;
}

AXElement SimWindows::menu(int32_t pid, const std::vector<AXElement>& items) {
    AXElement m = ax_.create(pid);
    ax_.set(m, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXMenu")));
    ax_.set(m, QStringLiteral("AXChildren"), AXValue::of(items));
    return m;
}

void SimWindows::buildMenus(int32_t pid) {
    AppTree& t = apps_[pid];
    if (t.menuBar) ax_.destroy(t.menuBar);
    t.menuBar = {};
    t.items.clear();
    if (t.style == SimMenuStyle::none) return;
    auto press = [this, pid](const QString& item) {
        return [this, pid, item] { return pressMenu(pid, item); };
    };
    auto withSubmenu = [&](const QString& title, const std::vector<AXElement>& items) {
        AXElement item = menuItem(pid, title, nullptr);
        ax_.set(item, QStringLiteral("AXChildren"), AXValue::of(std::vector<AXElement>{menu(pid, items)}));
        return item;
    };
    std::vector<AXElement> windowItems{menuItem(pid, QStringLiteral("Minimize"), press("Minimize")),
                                       menuItem(pid, QStringLiteral("Zoom"), press("Fill")),
                                       menuItem(pid, QStringLiteral("Fill"), press("Fill"))};
    if (t.style == SimMenuStyle::full) {
        std::vector<AXElement> moves;
        for (const char* title : {"Left", "Right", "Top", "Bottom", "Top Left", "Top Right", "Bottom Left",
                                  "Bottom Right", "Return to Previous Size"})
            moves.push_back(menuItem(pid, QString::fromLatin1(title), press(QString::fromLatin1(title))));
        windowItems.push_back(withSubmenu(QStringLiteral("Move & Resize"), moves));
        windowItems.push_back(withSubmenu(
            QStringLiteral("Full Screen Tile"),
            {menuItem(pid, QStringLiteral("Left of Screen"), press(QStringLiteral("Left of Screen"))),
             menuItem(pid, QStringLiteral("Right of Screen"), press(QStringLiteral("Right of Screen")))}));
    }
    windowItems.push_back(menuItem(pid, QStringLiteral("Bring All to Front"), nullptr));
    const QString name = workspace_.app(pid) ? workspace_.app(pid)->name.value_or(QString()) : QString();
    // The Apple menu as the system keeps it in every application's menu bar.
    std::vector<AXElement> apple;
    for (const char* title : {"About This Mac", "System Settings…", "Force Quit…", "Sleep", "Restart…",
                              "Shut Down…", "Lock Screen", "Log Out Jane Appleseed…"}) {
        const QString t = QString::fromUtf8(title);
        apple.push_back(menuItem(pid, t, [this, t] {
            if (onAppleMenu) onAppleMenu(t);
            return axerr::success;
        }));
    }
    std::vector<std::pair<QString, std::vector<AXElement>>> menus{
        {name, {menuItem(pid, QStringLiteral("Quit ") + name, nullptr)}},
        {QStringLiteral("File"), {menuItem(pid, QStringLiteral("Close"), nullptr)}}};
    for (const AppTree::KeyEquivalent& k : t.keyEquivalents) {
        auto it = std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.first == k.menu; });
        if (it == menus.end()) it = menus.insert(menus.end(), {k.menu, {}});
        AXElement item = menuItem(pid, k.title, [this, pid, title = k.title, action = k.action] {
            tree(pid).journal << QStringLiteral("menu ") + title;
            if (action) action();
            return axerr::success;
        });
        ax_.set(item, QStringLiteral("AXMenuItemCmdChar"), AXValue::of(k.character));
        ax_.set(item, QStringLiteral("AXMenuItemCmdModifiers"), AXValue::of(k.modifiers));
        it->second.push_back(item);
    }
    std::vector<AXElement> bar{withSubmenu(QStringLiteral("Apple"), apple)};
    for (const auto& [title, items] : menus)
        bar.push_back(withSubmenu(title, items));
    bar.push_back(withSubmenu(QStringLiteral("Window"), windowItems));
    bar.push_back(withSubmenu(QStringLiteral("Help"), {}));
    t.menuBar = ax_.create(pid);
    ax_.set(t.menuBar, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXMenuBar")));
    ax_.set(t.menuBar, QStringLiteral("AXChildren"), AXValue::of(bar));
}

void SimWindows::toggleDesktop() {
    if (!aside_.empty()) {
        for (const auto& [number, placed] : aside_) {
            auto it = windows_.find(number);
            // One moved or closed since stays where it is now.
            if (it == windows_.end() || it->second.frame != placed.aside) continue;
            it->second.frame = placed.before;
            publish(it->second);
        }
        aside_.clear();
        sync();
        return;
    }
    constexpr double kSliver = 24; // what stays on the display of each window moved aside
    for (auto& [number, w] : windows_) {
        if (w.minimized || w.fullscreen || w.space != currentSpace_) continue;
        const Rect display = screenFrameAX(w.frame, false);
        const bool left = w.frame.x + w.frame.width / 2 < display.x + display.width / 2;
        Rect moved = w.frame;
        moved.x = left ? display.x - w.frame.width + kSliver : display.maxX() - kSliver;
        aside_[number] = {w.frame, moved};
        w.frame = moved;
        publish(w);
    }
    sync();
}

bool SimWindows::desktopShown() const {
    return !aside_.empty();
}

Rect SimWindows::screenFrameAX(const Rect& axFrame, bool visible) const {
    const auto all = screens_.screens();
    if (all.empty()) return {};
    const double H = all.front().frame.maxY();
    const Point probe{axFrame.x + 1, H - axFrame.y - 1};
    ScreenInfo chosen = all.front();
    for (const auto& s : all) {
        if (s.frame.contains(probe)) {
            chosen = s;
            break;
        }
    }
    const Rect r = visible ? chosen.visibleFrame : chosen.frame;
    return {r.x, H - r.maxY(), r.width, r.height};
}

int32_t SimWindows::pressMenu(int32_t pid, const QString& item) {
    AppTree& t = tree(pid);
    t.journal << QStringLiteral("menu ") + item;
    if (!t.focused || !windows_.count(*t.focused)) return axerr::cannotComplete;
    const uint32_t number = *t.focused;
    SimWindow& w = windows_[number];
    if (item == QLatin1String("Minimize")) {
        update(number, [](SimWindow& x) { x.minimized = true; });
        notify(pid, QStringLiteral("AXWindowMiniaturized"), w.element);
        return axerr::success;
    }
    if (item == QLatin1String("Left of Screen") || item == QLatin1String("Right of Screen")) {
        setFullscreen(number, true, item.startsWith(QLatin1String("Left")));
        return axerr::success;
    }
    if (item == QLatin1String("Return to Previous Size")) {
        // Only a window the system itself moved has a previous size to return to.
        if (!w.frameBeforeMenuMove) return axerr::cannotComplete;
        const Rect previous = *w.frameBeforeMenuMove;
        update(number, [&](SimWindow& x) {
            x.frame = previous;
            x.frameBeforeMenuMove.reset();
        });
        return axerr::success;
    }
    const Rect v = screenFrameAX(w.frame, true);
    const double hw = v.width / 2, hh = v.height / 2;
    Rect target = v;
    if (item == QLatin1String("Left"))
        target = {v.x, v.y, hw, v.height};
    else if (item == QLatin1String("Right"))
        target = {v.x + hw, v.y, hw, v.height};
    else if (item == QLatin1String("Top"))
        target = {v.x, v.y, v.width, hh};
    else if (item == QLatin1String("Bottom"))
        target = {v.x, v.y + hh, v.width, hh};
    else if (item == QLatin1String("Top Left"))
        target = {v.x, v.y, hw, hh};
    else if (item == QLatin1String("Top Right"))
        target = {v.x + hw, v.y, hw, hh};
    else if (item == QLatin1String("Bottom Left"))
        target = {v.x, v.y + hh, hw, hh};
    else if (item == QLatin1String("Bottom Right"))
        target = {v.x + hw, v.y + hh, hw, hh};
    update(number, [&](SimWindow& x) {
        if (!x.frameBeforeMenuMove) x.frameBeforeMenuMove = x.frame;
        // A window that refuses the size stays as close to the place as it can, on the screen.
        const Size size = x.acceptedSize(target.size());
        x.frame = {std::clamp(target.x, v.x, std::max(v.x, v.maxX() - size.width)),
                   std::clamp(target.y, v.y, std::max(v.y, v.maxY() - size.height)), size.width, size.height};
    });
    return axerr::success;
}

uint32_t SimWindows::open(int32_t pid, const QString& title, Rect frame) {
    ownsServerList_ = true;
    tree(pid); // the application's element and menus come first
    const SimWindow w = newWindow(pid, title, frame);
    answerPresses(w);
    answerAttributeSets(w);
    return putInFront(w);
}

SimWindow SimWindows::newWindow(int32_t pid, const QString& title, Rect frame) {
    SimWindow w;
    w.number = nextNumber_++;
    w.pid = pid;
    w.title = title;
    w.frame = frame;
    w.space = w.homeSpace = currentSpace_;
    w.elementIdentifier = 0x40 + w.number * 3;
    w.directImage = drawnContent(title, frame.size(), w.number);
    w.captureImage = w.directImage;
    w.element = ax_.create(pid);
    w.closeButton = ax_.create(pid);
    w.zoomButton = ax_.create(pid);
    ax_.setWindowNumber(w.element, w.number);
    ax_.setRemoteToken(remoteToken(pid, w.elementIdentifier), w.element);
    ax_.set(w.element, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXWindow")));
    ax_.set(w.closeButton, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXButton")));
    ax_.set(w.zoomButton, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXButton")));
    return w;
}

void SimWindows::answerPresses(const SimWindow& w) {
    const uint32_t number = w.number;
    ax_.onAction(w.closeButton, QStringLiteral("AXPress"), [this, number] {
        close(number);
        return axerr::success;
    });
    ax_.onAction(w.zoomButton, QStringLiteral("AXPress"), [this, number] {
        auto it = windows_.find(number);
        if (it == windows_.end()) return axerr::invalidUIElement;
        setFullscreen(number, !it->second.fullscreen);
        return axerr::success;
    });
    ax_.onAction(w.element, QStringLiteral("AXRaise"), [this, number] {
        raise(number);
        return axerr::success;
    });
}

void SimWindows::answerAttributeSets(const SimWindow& w) {
    const uint32_t number = w.number;
    const int32_t pid = w.pid;
    auto journal = [this, pid](const QString& line) { tree(pid).journal << line; };
    ax_.onSet(w.element, QStringLiteral("AXPosition"), [this, number, journal](const AXValue& v) {
        auto p = v.asPoint();
        if (!p) return axerr::illegalArgument;
        journal(QStringLiteral("position %1,%2").arg(p->x).arg(p->y));
        update(number, [&](SimWindow& x) { x.frame = {p->x, p->y, x.frame.width, x.frame.height}; });
        return axerr::success;
    });
    ax_.onSet(w.element, QStringLiteral("AXSize"), [this, number, journal](const AXValue& v) {
        auto s = v.asSize();
        if (!s) return axerr::illegalArgument;
        journal(QStringLiteral("size %1x%2").arg(s->width).arg(s->height));
        update(number, [&](SimWindow& x) {
            const Size accepted = x.acceptedSize(*s);
            x.frame = {x.frame.x, x.frame.y, accepted.width, accepted.height};
        });
        return axerr::success;
    });
    ax_.onSet(w.element, QStringLiteral("AXMinimized"), [this, number, pid](const AXValue& v) {
        auto b = v.asBool();
        if (!b) return axerr::illegalArgument;
        auto it = windows_.find(number);
        if (it == windows_.end()) return axerr::invalidUIElement;
        const bool changed = it->second.minimized != *b;
        update(number, [&](SimWindow& x) { x.minimized = *b; });
        if (changed)
            notify(pid,
                   *b ? QStringLiteral("AXWindowMiniaturized") : QStringLiteral("AXWindowDeminiaturized"),
                   it->second.element);
        return axerr::success;
    });
    ax_.onSet(w.element, QStringLiteral("AXFullScreen"), [this, number](const AXValue& v) {
        auto b = v.asBool();
        auto it = windows_.find(number);
        if (!b || it == windows_.end()) return axerr::illegalArgument;
        if (!it->second.fullscreenSettable) return axerr::attributeUnsupported;
        setFullscreen(number, *b);
        return axerr::success;
    });
    ax_.onSet(w.element, QStringLiteral("AXMain"), [this, number](const AXValue& v) {
        auto b = v.asBool();
        if (!b) return axerr::illegalArgument;
        if (*b) {
            auto it = windows_.find(number);
            if (it == windows_.end()) return axerr::invalidUIElement;
            apps_[it->second.pid].focused = number;
            publishApp(it->second.pid);
            publish(it->second);
        }
        return axerr::success;
    });
}

uint32_t SimWindows::putInFront(const SimWindow& w) {
    const uint32_t number = w.number;
    const int32_t pid = w.pid;
    AppTree& t = tree(pid);
    windows_[number] = w;
    t.order.insert(t.order.begin(), number);
    t.focused = number;
    stacking_.insert(stacking_.begin(), number);
    publish(windows_[number]);
    publishApp(pid);
    sync();
    notify(pid, QStringLiteral("AXWindowCreated"), windows_[number].element);
    return number;
}

std::optional<SimWindow> SimWindows::window(uint32_t number) const {
    auto it = windows_.find(number);
    if (it == windows_.end()) return std::nullopt;
    return it->second;
}

std::vector<SimWindow> SimWindows::windowsOf(int32_t pid) const {
    std::vector<SimWindow> out;
    auto it = apps_.find(pid);
    if (it == apps_.end()) return out;
    for (uint32_t n : it->second.order)
        out.push_back(windows_.at(n));
    return out;
}

void SimWindows::update(uint32_t number, const std::function<void(SimWindow&)>& change) {
    auto it = windows_.find(number);
    if (it == windows_.end()) return;
    const bool wasKnown = it->second.knownToAX;
    change(it->second);
    SimWindow& w = it->second;
    if (wasKnown && !w.knownToAX) {
        for (auto* e : {&w.element, &w.closeButton, &w.zoomButton}) {
            ax_.destroy(*e);
            *e = {};
        }
    }
    publish(w);
    publishApp(w.pid);
    sync();
}

void SimWindows::close(uint32_t number) {
    auto it = windows_.find(number);
    if (it == windows_.end()) return;
    const SimWindow w = it->second;
    windows_.erase(it);
    std::erase(stacking_, number);
    AppTree& t = tree(w.pid);
    std::erase(t.order, number);
    if (t.focused == number)
        t.focused = t.order.empty() ? std::nullopt : std::optional<uint32_t>(t.order.front());
    publishApp(w.pid);
    sync();
    if (w.element) notify(w.pid, QStringLiteral("AXUIElementDestroyed"), w.element);
    for (const auto& e : {w.element, w.closeButton, w.zoomButton}) {
        if (e) ax_.destroy(e);
    }
}

void SimWindows::raise(uint32_t number) {
    auto it = windows_.find(number);
    if (it == windows_.end()) return;
    std::erase(stacking_, number);
    stacking_.insert(stacking_.begin(), number);
    AppTree& t = tree(it->second.pid);
    std::erase(t.order, number);
    t.order.insert(t.order.begin(), number);
    t.focused = number;
    if (it->second.space != currentSpace_ && !it->second.minimized) switchToSpace(it->second.space);
    publish(it->second);
    publishApp(it->second.pid);
    sync();
}

void SimWindows::setTitle(uint32_t number, const QString& title) {
    auto it = windows_.find(number);
    if (it == windows_.end()) return;
    update(number, [&](SimWindow& w) { w.title = title; });
    notify(it->second.pid, QStringLiteral("AXTitleChanged"), it->second.element);
}

std::vector<uint32_t> SimWindows::stacking() const {
    return stacking_;
}

std::optional<uint32_t> SimWindows::focusedWindow(int32_t pid) const {
    auto it = apps_.find(pid);
    return it == apps_.end() ? std::nullopt : it->second.focused;
}

void SimWindows::addServerEntry(const WindowDescription& description, bool atFront) {
    extras_.emplace_back(description, atFront);
    ownsServerList_ = true;
    sync();
}

int SimWindows::currentSpace() const {
    return currentSpace_;
}

std::vector<int> SimWindows::spaces() const {
    std::set<int> all{1, 2, currentSpace_};
    for (const auto& [number, w] : windows_)
        all.insert(w.space);
    return {all.begin(), all.end()};
}

void SimWindows::switchToSpace(int space) {
    if (space == currentSpace_) return;
    currentSpace_ = space;
    sync();
    workspace_.announce({WorkspaceEvent::Kind::activeSpaceChanged, 0});
}

void SimWindows::setMenuStyle(int32_t pid, SimMenuStyle style) {
    tree(pid).style = style;
    buildMenus(pid);
    publishApp(pid);
}

void SimWindows::setMenuItemEnabled(int32_t pid, const QString& title, bool enabled) {
    auto& items = tree(pid).items;
    if (auto it = items.find(title); it != items.end())
        ax_.set(it->second, QStringLiteral("AXEnabled"), AXValue::of(enabled));
}

void SimWindows::addKeyEquivalent(int32_t pid, const QString& menu, const QString& title,
                                  const QString& character, int64_t modifiers, std::function<void()> action) {
    tree(pid).keyEquivalents.push_back({menu, title, character, modifiers, std::move(action)});
    buildMenus(pid);
    publishApp(pid);
}

void SimWindows::setEnhancedUserInterface(int32_t pid, bool on) {
    tree(pid).enhancedUI = on;
    AXElement app = tree(pid).app;
    ax_.onSet(app, QStringLiteral("AXEnhancedUserInterface"), [this, pid](const AXValue& v) {
        auto b = v.asBool();
        if (!b) return axerr::illegalArgument;
        AppTree& t = tree(pid);
        t.enhancedUI = *b;
        t.journal << QStringLiteral("enhanced %1").arg(*b ? "on" : "off");
        publishApp(pid);
        return axerr::success;
    });
    publishApp(pid);
}

bool SimWindows::enhancedUserInterface(int32_t pid) const {
    auto it = apps_.find(pid);
    return it != apps_.end() && it->second.enhancedUI.value_or(false);
}

void SimWindows::setSendsNotifications(int32_t pid, bool on) {
    tree(pid).notifications = on;
}

QStringList SimWindows::journal(int32_t pid) const {
    auto it = apps_.find(pid);
    return it == apps_.end() ? QStringList() : it->second.journal;
}

void SimWindows::clearJournal(int32_t pid) {
    tree(pid).journal.clear();
}

std::optional<SimWindow> SimWindows::windowAt(Point point) const {
    for (uint32_t n : stacking_) {
        const SimWindow& w = windows_.at(n);
        if (onScreen(w) && w.frame.contains(point)) return w;
    }
    return std::nullopt;
}

void SimWindows::frontFromWindowServer(int32_t pid, uint32_t number) {
    // The process comes to the front even when the window number names none of its windows.
    workspace_.activate(pid);
    auto it = windows_.find(number);
    if (it != windows_.end() && it->second.pid == pid) raise(number);
}

void SimWindows::notify(int32_t pid, const QString& name, const AXElement& element) {
    if (!tree(pid).notifications || !element) return;
    ax_.notify(pid, name, element);
}

void SimWindows::setFullscreen(uint32_t number, bool on, std::optional<bool> leftTile) {
    auto it = windows_.find(number);
    if (it == windows_.end() || it->second.fullscreen == on) return;
    const double delay = on ? enterFullscreenDelay : exitFullscreenDelay;
    queue_->after(delay, [this, number, on, leftTile] { applyFullscreen(number, on, leftTile); });
}

void SimWindows::setFullscreenNow(uint32_t number) {
    applyFullscreen(number, true, std::nullopt);
}

void SimWindows::applyFullscreen(uint32_t number, bool on, std::optional<bool> leftTile) {
    auto w = windows_.find(number);
    if (w == windows_.end() || w->second.fullscreen == on) return;
    int space = w->second.homeSpace;
    update(number, [&](SimWindow& x) {
        x.fullscreen = on;
        if (on) {
            x.frameBeforeFullscreen = x.frame;
            Rect screen = screenFrameAX(x.frame, false);
            if (leftTile) {
                screen.width /= 2;
                if (!*leftTile) screen.x += screen.width;
            }
            x.frame = screen;
            x.space = space = nextSpace_++;
        } else {
            x.frame = x.frameBeforeFullscreen;
            x.space = x.homeSpace;
        }
    });
    switchToSpace(space);
}

bool SimWindows::onScreen(const SimWindow& w) const {
    auto app = workspace_.app(w.pid);
    return app && !app->hidden && !w.minimized && w.space == currentSpace_;
}

void SimWindows::publish(const SimWindow& w) {
    if (!w.element) return;
    const AXElement& e = w.element;
    if (w.subrole)
        ax_.set(e, QStringLiteral("AXSubrole"), AXValue::of(*w.subrole));
    else
        ax_.remove(e, QStringLiteral("AXSubrole"));
    ax_.set(e, QStringLiteral("AXTitle"), AXValue::of(w.title));
    ax_.set(e, QStringLiteral("AXPosition"), AXValue::of(w.frame.origin()));
    ax_.set(e, QStringLiteral("AXSize"), AXValue::of(w.frame.size()));
    ax_.set(e, QStringLiteral("AXMinimized"), AXValue::of(w.minimized));
    ax_.set(e, QStringLiteral("AXFullScreen"), AXValue::of(w.fullscreen));
    auto t = apps_.find(w.pid);
    ax_.set(e, QStringLiteral("AXMain"), AXValue::of(t != apps_.end() && t->second.focused == w.number));
    ax_.set(e, QStringLiteral("AXCloseButton"), AXValue::of(w.closeButton));
    ax_.set(e, QStringLiteral("AXZoomButton"), AXValue::of(w.zoomButton));
    // The green button of a window that can go full screen is its full-screen button; a window
    // that cannot be resized has it greyed out. Its frame is where it takes clicks, a little
    // larger than the light drawn.
    ax_.set(e, QStringLiteral("AXFullScreenButton"), AXValue::of(w.zoomButton));
    const Rect green = buttonFrame(w.frame, 2).insetBy(-3, -3);
    ax_.set(w.zoomButton, QStringLiteral("AXSubrole"), AXValue::of(QStringLiteral("AXFullScreenButton")));
    ax_.set(w.zoomButton, QStringLiteral("AXPosition"), AXValue::of(green.origin()));
    ax_.set(w.zoomButton, QStringLiteral("AXSize"), AXValue::of(green.size()));
    ax_.set(w.zoomButton, QStringLiteral("AXEnabled"), AXValue::of(w.resizable()));
    const Rect close{w.frame.x + 8, w.frame.y + 6, 14, 16};
    ax_.set(w.closeButton, QStringLiteral("AXPosition"), AXValue::of(close.origin()));
    ax_.set(w.closeButton, QStringLiteral("AXSize"), AXValue::of(close.size()));
}

void SimWindows::publishApp(int32_t pid) {
    AppTree& t = apps_[pid];
    if (!t.app) return;
    std::vector<AXElement> listed;
    for (uint32_t n : t.order) {
        const SimWindow& w = windows_.at(n);
        if (w.knownToAX && w.listedByAX && w.element) listed.push_back(w.element);
    }
    ax_.set(t.app, kWindows, AXValue::of(listed));
    const SimWindow* focused = t.focused && windows_.count(*t.focused) ? &windows_.at(*t.focused) : nullptr;
    if (focused && focused->element)
        ax_.set(t.app, QStringLiteral("AXFocusedWindow"), AXValue::of(focused->element));
    else
        ax_.remove(t.app, QStringLiteral("AXFocusedWindow"));
    if (t.menuBar)
        ax_.set(t.app, QStringLiteral("AXMenuBar"), AXValue::of(t.menuBar));
    else
        ax_.remove(t.app, QStringLiteral("AXMenuBar"));
    if (t.enhancedUI) ax_.set(t.app, QStringLiteral("AXEnhancedUserInterface"), AXValue::of(*t.enhancedUI));
}

void SimWindows::sync() {
    // Sessions that set the window server's list by hand keep it until a window is opened here.
    if (!ownsServerList_) return;
    std::vector<WindowDescription> list;
    for (const auto& [d, front] : extras_) {
        if (front) list.push_back(d);
    }
    for (uint32_t n : stacking_) {
        const SimWindow& w = windows_.at(n);
        auto app = workspace_.app(w.pid);
        WindowDescription d;
        d.number = w.number;
        d.layer = w.layer;
        d.ownerPid = w.pid;
        d.ownerName = app ? app->name : std::nullopt;
        d.name = w.title;
        d.alpha = w.alpha;
        d.bounds = w.frame;
        d.isOnscreen = onScreen(w);
        list.push_back(d);
        // The direct image exists only while the window is drawn on screen.
        server_.setDirectImage(n, *d.isOnscreen ? w.directImage : QImage());
        server_.setCaptureImage(n, w.captureImage);
    }
    for (const auto& [d, front] : extras_) {
        if (!front) list.push_back(d);
    }
    WindowDescription desktop;
    desktop.number = 1;
    desktop.layer = -2147483623; // the desktop picture's level
    desktop.ownerPid = 0;
    desktop.name = QStringLiteral("Desktop");
    desktop.alpha = 1;
    if (auto all = screens_.screens(); !all.empty())
        desktop.bounds = Rect{0, 0, all[0].frame.width, all[0].frame.height};
    desktop.isOnscreen = true;
    list.push_back(desktop);
    server_.setWindows(std::move(list));
}

void SimWindows::removeApp(int32_t pid) {
    auto it = apps_.find(pid);
    if (it == apps_.end()) return;
    for (uint32_t n : it->second.order) {
        const SimWindow& w = windows_.at(n);
        for (const auto& e : {w.element, w.closeButton, w.zoomButton}) {
            if (e) ax_.destroy(e);
        }
        std::erase(stacking_, n);
        windows_.erase(n);
    }
    const bool notifies = it->second.notifications;
    const AXElement application = it->second.app;
    apps_.erase(it);
    sync();
    // The application's own element goes last, and its observers hear of it.
    if (notifies && application) ax_.notify(pid, QStringLiteral("AXUIElementDestroyed"), application);
    if (application) ax_.destroy(application);
}

void SimWindows::onWorkspace(const WorkspaceEvent& e) {
    switch (e.kind) {
    case WorkspaceEvent::Kind::terminated:
        removeApp(e.pid);
        break;
    case WorkspaceEvent::Kind::activated: {
        // The application's windows come forward together, keeping their own order.
        auto it = apps_.find(e.pid);
        if (it == apps_.end()) break;
        std::vector<uint32_t> mine;
        for (uint32_t n : stacking_) {
            if (windows_.at(n).pid == e.pid) mine.push_back(n);
        }
        std::erase_if(stacking_, [&](uint32_t n) { return windows_.at(n).pid == e.pid; });
        stacking_.insert(stacking_.begin(), mine.begin(), mine.end());
        sync();
        break;
    }
    case WorkspaceEvent::Kind::hidden:
    case WorkspaceEvent::Kind::unhidden:
        sync();
        break;
    default:
        break;
    }
}

} // namespace fenwold

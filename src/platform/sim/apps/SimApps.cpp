#include "SimApps.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>

namespace fenwold {

SimApps::SimApps(SimSession& session)
    : session_(session), editor_(session), terminal_(session), finder_(session), browser_(session),
      viewer_(session), vault_(session), guest_(session) {
    session_.keys.onDeliver = [this](const PostedKey& key) {
        std::lock_guard lock(mutex_);
        pending_.push_back(key);
    };
    workspaceSub_ = session_.workspace.observe([this](const WorkspaceEvent& e) {
        if (e.kind == WorkspaceEvent::Kind::activated) focusFront();
        if (e.kind == WorkspaceEvent::Kind::activated || e.kind == WorkspaceEvent::Kind::hidden) {
            const int32_t front = session_.workspace.frontmostPid();
            for (SimApplication* app : all())
                app->frontChanged(app->pid() == front);
        }
    });
}

SimApps::~SimApps() {
    session_.keys.onDeliver = nullptr;
}

void SimApps::populate() {
    // Opened back to front, laid out so every window shows a part of itself.
    guest_.openScreen({560, 620, 460, 210});
    browser_.openPage(QStringLiteral("Weather"), QStringLiteral("weather.example/today"),
                      {640, 310, 480, 300});
    browser_.openPage(QStringLiteral("News"), QStringLiteral("news.example"), {665, 335, 480, 300});
    browser_.openPage(QStringLiteral("Recipes"), QStringLiteral("recipes.example/soup"),
                      {690, 360, 480, 300});
    finder_.openFolder(QStringLiteral("Downloads"), {"invoice-2026.pdf", "photo.jpg", "setup.dmg"},
                       {760, 600, 420, 210});
    finder_.openFolder(QStringLiteral("Documents"),
                       {"Budget.numbers", "Letter.txt", "Notes.md", "Plan.pages"}, {1000, 580, 420, 230});
    viewer_.openImage(QStringLiteral("sunset.png"), ImageViewerApp::sampleImage(), {1080, 300, 340, 260});
    vault_.openVault(
        {{"mail.example", "hunter2-correct"}, {"bank.example", "S3cure!pass"}, {"shop.example", "p4ss"}},
        {1040, 50, 380, 240});
    editor_.newDocument(QStringLiteral("Shopping list"), {640, 50, 380, 240},
                        QStringLiteral("milk\neggs\nbread"));
    terminal_.newWindow({40, 410, 580, 400});
    editor_.newDocument(QStringLiteral("Notes"), {40, 50, 580, 340}, QStringLiteral("Meeting at ten.\n"));
    session_.workspace.activate(editor_.pid());
    focusFront();
}

std::vector<SimApplication*> SimApps::all() {
    std::vector<SimApplication*> list{&finder_, &editor_, &terminal_, &browser_, &viewer_, &vault_, &guest_};
    for (const auto& utility : utilities_)
        list.push_back(utility.get());
    return list;
}

std::optional<QString> SimApps::open(const QUrl& url) {
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    // System Settings' own addresses name a pane; the application shows it.
    const bool settingsPane = url.scheme() == QStringLiteral("x-apple.systempreferences");
    const QString name = settingsPane ? QStringLiteral("System Settings")
                                      : QFileInfo(path).fileName().chopped(path.endsWith(".app") ? 4 : 0);
    if (settingsPane || path.endsWith(QStringLiteral(".app"))) {
        SimApplication* app = nullptr;
        for (SimApplication* a : all())
            if (a->name() == name && a->running()) app = a;
        const auto utility =
            std::find_if(simulatedUtilities().begin(), simulatedUtilities().end(),
                         [&](const UtilityInfo& u) { return name == QString::fromUtf8(u.name); });
        if (!app && utility == simulatedUtilities().end()) return std::nullopt;
        if (!app) {
            utilities_.push_back(std::make_unique<UtilityApp>(session_, *utility));
            app = utilities_.back().get();
        } else if (auto* launched = dynamic_cast<UtilityApp*>(app)) {
            launched->reopen();
        } else if (app == &terminal_ && session_.windows.windowsOf(app->pid()).empty()) {
            terminal_.newWindow({260, 180, 640, 400});
        }
        session_.workspace.unhide(app->pid());
        for (const SimWindow& w : session_.windows.windowsOf(app->pid()))
            if (w.minimized) session_.windows.update(w.number, [](SimWindow& m) { m.minimized = false; });
        if (const auto focused = session_.windows.focusedWindow(app->pid())) session_.windows.raise(*focused);
        session_.workspace.activate(app->pid());
        return QStringLiteral("%1 opened").arg(app->name());
    }
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        // A folder: its window in Finder, brought forward, or a new one.
        const QString title = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
        std::optional<uint32_t> shown;
        for (const SimWindow& w : session_.windows.windowsOf(finder_.pid()))
            if (w.title == title) shown = w.number;
        if (!shown)
            shown = finder_.openFolder(title, {"Desktop", "Documents", "Downloads", "Pictures"},
                                       {300, 140, 460, 240});
        session_.windows.update(*shown, [](SimWindow& w) { w.minimized = false; });
        session_.windows.raise(*shown);
        session_.workspace.activate(finder_.pid());
        return QStringLiteral("Finder opened %1").arg(title);
    }
    return std::nullopt;
}

SimApplication* SimApps::byPid(int32_t pid) {
    for (SimApplication* app : all())
        if (app->pid() == pid) return app;
    return nullptr;
}

SimApplication* SimApps::front() {
    const auto app = session_.workspace.frontmostApp();
    return app ? byPid(app->pid) : nullptr;
}

void SimApps::deliver(int32_t pid, const AppKey& key) {
    if (SimApplication* app = byPid(pid); app && app->running()) app->keyDown(key);
}

int SimApps::flush() {
    int handled = 0;
    for (;;) {
        PostedKey key;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) return handled;
            key = pending_.front();
            pending_.pop_front();
        }
        ++handled;
        if (onPosted) onPosted(key);
        if (key.keyDown) deliver(key.pid, AppKey{key.keyCode, key.flags, false});
    }
}

void SimApps::focusFront() {
    SimApplication* app = front();
    session_.accessibility.set(session_.accessibility.systemWide(), QStringLiteral("AXFocusedUIElement"),
                               app ? AXValue::of(app->focusedElement()) : AXValue::missing());
}

} // namespace fenwold

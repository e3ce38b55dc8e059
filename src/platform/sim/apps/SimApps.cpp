#include "SimApps.h"

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
    return {&finder_, &editor_, &terminal_, &browser_, &viewer_, &vault_, &guest_};
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

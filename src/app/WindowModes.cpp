#include "WindowModes.h"

#include "core/diagnostics/WindowPreviewCheck.h"
#include "core/shell/CommandLine.h"
#include "core/windows/WindowModel.h"
#include "ports/Accessibility.h"
#include "ports/MainQueue.h"
#include "ports/Platform.h"
#include "ports/Workspace.h"

#include <set>

namespace fenwold {

namespace {

QString boolText(bool b) {
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

QString frameText(const std::optional<Rect>& r) {
    if (!r) return QStringLiteral("NIL");
    auto n = [](double v) { return QString::number(v, 'f', 1); };
    return QStringLiteral("(%1, %2, %3, %4)").arg(n(r->x), n(r->y), n(r->width), n(r->height));
}

std::vector<RunningApp> regularApps(Platform& platform) {
    std::vector<RunningApp> out;
    for (const auto& app : platform.workspace->runningApps()) {
        if (app.policy == ActivationPolicy::regular && app.pid != platform.workspace->ownPid())
            out.push_back(app);
    }
    return out;
}

void walkMenu(Accessibility& ax, const AXElement& element, int depth, QTextStream& out) {
    if (depth > 5) return;
    const auto children = ax.attribute(element, QStringLiteral("AXChildren")).asElements();
    if (!children) return;
    for (const AXElement& child : *children) {
        const auto title = ax.attribute(child, QStringLiteral("AXTitle")).asString();
        if (title && !title->isEmpty()) {
            out << QString(2 * depth, QLatin1Char(' ')) << '\'' << *title << '\'';
            if (ax.attribute(child, QStringLiteral("AXEnabled")).asBool() == false) out << " [disabled]";
            out << '\n';
        }
        walkMenu(ax, child, depth + 1, out);
    }
}

} // namespace

int dumpWindows(Platform& platform, QTextStream& out) {
    Accessibility& ax = *platform.accessibility;
    out << "AX trusted: " << boolText(ax.isTrusted()) << '\n';
    WindowModel model(platform);
    model.store.start();
    for (const RunningApp& app : regularApps(platform)) {
        const AXElement element = ax.application(app.pid);
        ax.setMessagingTimeout(element, 0.15);
        const AXValue value = ax.attribute(element, QStringLiteral("AXWindows"));
        const auto list = value.asElements().value_or(std::vector<AXElement>{});
        out << app.name.value_or(QStringLiteral("?")) << " pid=" << app.pid << " err=" << value.errorCode()
            << " wins=" << list.size() << '\n';
        for (const AXElement& w : list) {
            const auto subrole = ax.attribute(w, QStringLiteral("AXSubrole")).asString();
            out << "   wid=" << ax.windowNumber(w).value_or(0)
                << " subrole=" << subrole.value_or(QStringLiteral("nil")) << " min="
                << boolText(ax.attribute(w, QStringLiteral("AXMinimized")).asBool().value_or(false))
                << " full="
                << boolText(ax.attribute(w, QStringLiteral("AXFullScreen")).asBool().value_or(false)) << " '"
                << ax.attribute(w, QStringLiteral("AXTitle")).asString().value_or(QString()) << "'\n";
        }
    }
    out << "--- Windows.list() result:\n";
    for (const WindowInfo& w : model.windows.list())
        out << "   " << w.id << ' ' << w.appName << " '" << w.title << "'\n";
    const auto front = model.windows.frontmostWindow();
    if (!front) {
        out << "--- frontmostWindow: NIL\n";
    } else {
        const auto app = platform.workspace->app(front->pid);
        const QString name = app && app->name ? *app->name : QStringLiteral("?");
        out << "--- frontmostWindow: pid=" << front->pid << " id=" << front->id << " app=" << name << '\n';
        const auto frame = model.windows.axFrame(front->pid, front->id);
        out << "    isFullscreen="
            << boolText(model.windows.fullscreenState(front->pid, front->id).value_or(false))
            << " axFrame=" << (frame ? frameText(frame) : QStringLiteral("NIL — id not found via AX"))
            << '\n';
    }
    out.flush();
    return 0;
}

int dumpMenus(Platform& platform, QTextStream& out, const std::optional<QString>& name) {
    Accessibility& ax = *platform.accessibility;
    for (const RunningApp& app : regularApps(platform)) {
        if (name && app.name != *name) continue;
        out << app.name.value_or(QStringLiteral("?")) << " pid=" << app.pid << '\n';
        const AXElement element = ax.application(app.pid);
        ax.setMessagingTimeout(element, 1.0);
        const auto menuBar = ax.attribute(element, QStringLiteral("AXMenuBar")).asElement();
        if (!menuBar) {
            out << "   no menu bar\n";
            continue;
        }
        for (const AXElement& item : ax.attribute(*menuBar, QStringLiteral("AXChildren"))
                                         .asElements()
                                         .value_or(std::vector<AXElement>{})) {
            if (ax.attribute(item, QStringLiteral("AXTitle")).asString() == QStringLiteral("Window")) {
                walkMenu(ax, item, 0, out);
                break;
            }
        }
    }
    out.flush();
    return 0;
}

int watchWindows(Platform& platform, QTextStream& out, ModeLoop& loop) {
    WindowModel model(platform);
    model.store.start();
    QStringList missing;
    for (int32_t pid : model.store.unobserved()) {
        const auto app = platform.workspace->app(pid);
        missing << (app && app->name ? *app->name : QString::number(pid));
    }
    out << "observers attached; no observer for: "
        << (missing.isEmpty() ? QStringLiteral("none") : missing.join(", ")) << '\n';
    out.flush();
    std::set<uint32_t> previous;
    TimerHandle timer = platform.mainQueue->every(0.5, 0.05, [&] {
        std::set<uint32_t> now;
        for (const WindowInfo& w : model.store.snapshot()) {
            now.insert(w.id);
            if (!previous.count(w.id)) out << "+ " << w.id << ' ' << w.appName << " '" << w.title << "'\n";
        }
        for (uint32_t id : previous) {
            if (!now.count(id)) out << "- " << id << '\n';
        }
        out.flush();
        previous = std::move(now);
    });
    const int status = loop.run();
    timer.cancel();
    return status;
}

int snapWindow(Platform& platform, QTextStream& out, const QString& position, const QString& appName,
               ModeLoop& loop) {
    WindowModel model(platform);
    model.store.start();
    std::optional<WindowInfo> chosen;
    for (const WindowInfo& w : model.windows.list()) {
        if (w.appName == appName) {
            chosen = w;
            break;
        }
    }
    if (!chosen) {
        out << "no window for '" << appName << "'\n";
        out.flush();
        return 1;
    }
    const WindowTarget target{chosen->pid, chosen->id};
    out << "before: " << frameText(model.windows.axFrame(target.pid, target.id)) << '\n';
    out.flush();
    if (position == QLatin1String("full"))
        model.windows.toggleFullscreen(target.pid, target.id);
    else if (position == QLatin1String("left"))
        model.windows.snap(WindowSnap::left, target);
    else if (position == QLatin1String("right"))
        model.windows.snap(WindowSnap::right, target);
    else
        model.windows.snap(WindowSnap::maximize, target);

    int ticks = 0;
    TimerHandle timer = platform.mainQueue->every(0.5, 0.05, [&] {
        ++ticks;
        out << QString::asprintf("%4.1fs", ticks * 0.5) << ' '
            << frameText(model.windows.axFrame(target.pid, target.id))
            << " full=" << boolText(model.windows.fullscreenState(target.pid, target.id).value_or(false))
            << '\n';
        out.flush();
        if (ticks == 16) {
            timer.cancel();
            loop.quit(0);
        }
    });
    const int status = loop.run();
    timer.cancel();
    return status;
}

int verifyWindow(Platform& platform, QTextStream& out, const CommandLineMode& mode, ModeLoop& loop) {
    WindowModel model(platform);
    model.store.start();
    // The check may end before the loop runs (a window the switcher does not list).
    std::optional<int> early;
    bool running = false;
    WindowPreviewCheck check(platform, model, out, [&](int status) {
        if (running)
            loop.quit(status);
        else
            early = status;
    });
    check.start({mode.windowID, mode.fromWindowID, mode.fromWindowInvalid, mode.previewOutput});
    if (early) return *early;
    running = true;
    return loop.run();
}

} // namespace fenwold

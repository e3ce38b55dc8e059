#include "Modes.h"

#include "core/diagnostics/TccReport.h"
#include "core/settings/AltF4Action.h"
#include "core/shell/UpdateDiagnosis.h"
#include "platform/sim/SimPrefs.h"
#include "ports/AppShell.h"
#include "ports/Platform.h"
#include "selfcheck/ModuleChecks.h"
#include "selfcheck/SelfChecks.h"
#include "selfcheck/WindowChecks.h"

#include <QEventLoop>
#include <optional>

namespace fenwold {

namespace {

int runChecks(const std::vector<ModuleCheck>& checks, QTextStream& out) {
    return runModuleChecks(checks, out);
}

// The application's own event loop, for modes that wait.
class EventLoop final : public ModeLoop {
public:
    int run() override { return loop_.exec(); }
    void quit(int status) override { loop_.exit(status); }

private:
    QEventLoop loop_;
};

// Checks the update feed without any user interface and waits for the verdict.
int checkUpdates(Platform& platform, UpdateCheck& check, QTextStream& out) {
    const BundleInfo bundle = platform.appShell->bundle();
    QEventLoop loop;
    std::optional<int> status;
    UpdateDiagnosis diagnosis(check, out, [&](int s) {
        status = s;
        loop.exit();
    });
    diagnosis.run(bundle);
    if (!status) loop.exec();
    return status.value_or(1);
}

} // namespace

std::optional<int> runDiagnosticMode(const CommandLineMode& mode, Platform& platform, QTextStream& out,
                                     ModeLoop* loop, const UpdateCheckFactory& updateChecks) {
    using Kind = CommandLineMode::Kind;
    std::optional<EventLoop> eventLoop;
    auto waiting = [&]() -> ModeLoop& { return loop ? *loop : eventLoop.emplace(); };
    switch (mode.kind) {
    case Kind::tcc:
        for (const auto& line : tccReport(*platform.accessibility, *platform.windowServer))
            out << line << '\n';
        out.flush();
        return 0;
    case Kind::checkUpdates: {
        if (!updateChecks) return std::nullopt;
        const std::unique_ptr<UpdateCheck> check = updateChecks();
        return checkUpdates(platform, *check, out);
    }
    case Kind::verifyWindow:
        return verifyWindow(platform, out, mode, waiting());
    case Kind::windowCaptureSelfcheck:
        return runChecks({{"WindowCapture", [](QStringList& f) { return windowCaptureSelfcheck(f); }}}, out);
    case Kind::windowStoreSelfcheck:
        return runChecks({{"WindowStore", [](QStringList& f) { return windowStoreSelfcheck(f); }}}, out);
    case Kind::dump:
        return dumpWindows(platform, out);
    case Kind::menus:
        return dumpMenus(platform, out, mode.name);
    case Kind::watch:
        return watchWindows(platform, out, waiting());
    case Kind::snap:
        return snapWindow(platform, out, mode.snapPosition, mode.snapApp, waiting());
    case Kind::altF4Selfcheck:
        return runChecks({{"AltF4Action", [](QStringList& f) { return altF4ActionSelfcheck(f); }}}, out);
    case Kind::clipboardSelfcheck:
        return runChecks({clipboardCheck()}, out);
    case Kind::selfcheck: {
        // Module checks work on scratch stores, never the user's preferences.
        SimPrefs scratch;
        return runChecks(moduleChecks(SelfCheckContext{&scratch}), out);
    }
    case Kind::normal:
        break;
    }
    return std::nullopt;
}

} // namespace fenwold

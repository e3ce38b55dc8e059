#include "Playground.h"

#include "ProcessSignals.h"
#include "SimHost.h"
#include "core/shell/AppIdentifier.h"
#include "ui/playground/PlaygroundSession.h"
#include "ui/playground/PlaygroundState.h"
#include "ui/playground/PlaygroundWindow.h"
#include "ui/playground/ScriptRunner.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTextStream>
#include <optional>

namespace fenwold {

namespace {

QString valueAfter(const QStringList& arguments, const QString& name) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

// Writes what the playground shows as JSON, whole or not at all, numbered so that a reader knows
// it is the answer to its own request.
void writeState(const QString& path, PlaygroundSession& playground, const PlaygroundWindow& window,
                int number) {
    QJsonObject state = playgroundState(playground, window.screenView());
    state["request"] = number;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QJsonDocument(state).toJson(QJsonDocument::Compact));
    file.commit();
}

} // namespace

PlaygroundPrefs playgroundPrefs(const QStringList& arguments, PrefsStore& memory, const QString& path) {
    PlaygroundPrefs prefs;
    if (arguments.contains(QStringLiteral("--script"))) return prefs;
    if (arguments.contains(QStringLiteral("--fresh"))) QFile::remove(path);
    prefs.starting = QFileInfo::exists(path) ? StartingSettings::kept : StartingSettings::firstRun;
    prefs.file = std::make_unique<PrefsFile>(memory, path);
    return prefs;
}

bool hostHasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool wantsPlayground(const QStringList& arguments, [[maybe_unused]] bool hasDisplay) {
#if defined(Q_OS_MACOS)
    const bool desktopDefault = false;
#else
    const bool desktopDefault = hasDisplay;
#endif
    return desktopDefault || arguments.contains(QStringLiteral("--playground")) ||
           arguments.contains(QStringLiteral("--script"));
}

int runPlayground(const QStringList& arguments) {
    QTextStream err(stderr);
    std::optional<ScriptParse> script;
    if (arguments.contains(QStringLiteral("--script"))) {
        const QString path = valueAfter(arguments, QStringLiteral("--script"));
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            err << "Fenwold: cannot read the script " << path << "\n";
            return 1;
        }
        script = parsePlaygroundScript(QString::fromUtf8(file.readAll()));
        if (script->error) {
            err << path << ": " << *script->error << "\n";
            return 1;
        }
    }
    // The virtual clock moves only as a script says; without one the playground runs in real time.
    const bool virtualClock = script && arguments.contains(QStringLiteral("--virtual-time"));
    QString shots = valueAfter(arguments, QStringLiteral("--screenshots"));
    if (shots.isEmpty()) shots = QStringLiteral("screenshots");

    SimHost host;
    // Played scripts keep to the built-in display, so their pictures stay the screen's size.
    if (!script) PlaygroundSession::connectSecondDisplay(host.session());
    // On the virtual clock the simulated windows' own delays (full screen) wait for it too.
    if (virtualClock) host.session().windows.setQueue(host.session().mainQueue);
    Platform platform = virtualClock ? host.session().platform() : host.platform();
    platform.appShell->setAccessoryPolicy();
    const PlaygroundPrefs prefs =
        playgroundPrefs(arguments, host.session().prefs, PrefsFile::defaultPath(appIdentifier()));
    if (prefs.file) platform.prefs = prefs.file.get();
    PlaygroundSession playground(host.session(), platform, parseStartupOptions(arguments), virtualClock,
                                 prefs.starting);
    PlaygroundWindow window(playground);
    // A script plays the same on every display: its window pictures have one size.
    if (script) window.resize(PlaygroundWindow::kScriptedSize);
    host.session().appShell.onTerminate = [] { QCoreApplication::quit(); };
    Subscription reopen = platform.appShell->observeReopen(
        [&playground] { playground.delegate().applicationShouldHandleReopen(); });
    window.show();
    playground.start();
    // A test driving the playground with the host's real input asks for its state with SIGUSR1.
    const QString statePath = valueAfter(arguments, QStringLiteral("--state-file"));
    int stateRequests = 0;
    std::function<void()> onStateRequest;
    if (!statePath.isEmpty()) {
        onStateRequest = [&] { writeState(statePath, playground, window, ++stateRequests); };
        // The first one says the playground is up.
        QMetaObject::invokeMethod(qApp, onStateRequest, Qt::QueuedConnection);
    }
    ProcessSignals processSignals(onStateRequest);

    int status = 0;
    std::unique_ptr<ScriptRunner> runner;
    if (script) {
        runner = std::make_unique<ScriptRunner>(playground, QDir(shots));
        runner->grabWindow = [&window] { return window.grab().toImage(); };
        runner->onFinished = [&status, &runner, &err](bool ok) {
            for (const QString& problem : runner->problems())
                err << "Fenwold: " << problem << "\n";
            status = ok ? 0 : 1;
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
        };
        runner->run(script->steps);
    }
    const int loop = QApplication::exec();
    playground.delegate().applicationWillTerminate();
    return status != 0 ? status : loop;
}

} // namespace fenwold

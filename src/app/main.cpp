#include "ClipboardPreview.h"
#include "Host.h"
#include "Modes.h"
#include "Playground.h"
#include "ProcessSignals.h"
#if !defined(Q_OS_MACOS)
#include "LargeBlocks.h"
#include "RuntimeDir.h"
#endif
#include "core/clipboard/PinsFile.h"
#include "core/shell/AppDelegate.h"
#include "ui/settings/AboutPane.h"
#include "ui/shell/QtShellViews.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTextStream>
#include <optional>

using namespace fenwold;

namespace {

// A diagnostic mode prints and exits; it needs an event loop but no windows. Where the simulated
// session stands in for the Mac it draws its windows' contents, which takes Qt's GUI machinery
// (offscreen without a display). None when the mode starts the program after all.
std::optional<int> runDiagnostics(const CommandLineMode& mode, int& argc, char* argv[]) {
#if defined(Q_OS_MACOS)
    QCoreApplication application(argc, argv);
#else
    if (!hostHasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
#endif
    QTextStream out(stdout);
    const std::unique_ptr<Host> host = makeHost();
    Platform platform = host->platform();
    return runDiagnosticMode(mode, platform, out, nullptr, [&host] { return host->makeUpdateCheck(); });
}

// The shelf with sample clips instead of the application's features; reopening the program shows
// it again.
int runClipboardPreview(Host& host, Platform& platform, const StartupOptions& options) {
    Prefs(*platform.prefs).registerDefaults();
    ClipboardPreview preview(platform, options, host.nativePanels());
    preview.show();
    return QApplication::exec();
}

// The menu-bar application: its views, its delegate and its run loop.
int runApplication(Host& host, Platform& platform, const StartupOptions& options) {
    const std::unique_ptr<Updates> updater = host.makeUpdates();
    platform.updates = updater.get();

    AppDelegate* delegate = nullptr;
    SettingsDeps settings = SettingsDeps::of(platform);
    settings.requestedTab = options.tab;
#if defined(Q_OS_MACOS)
    // The bundle's own icon, for the About tab and the welcome window.
    settings.appIcon =
        largestImage(QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources/AppIcon.icns"));
#endif
    settings.reapplyKeyMapping = [&delegate] {
        if (delegate) delegate->hidRemap().apply();
    };
    settings.showWelcome = [&delegate] {
        if (delegate) delegate->showWelcome();
    };
    QtShellViews views(platform, settings, host.makeStatusItem(), nullptr, host.nativePanels());
    // The pins live in the user's application-support folder (the data folder on Linux).
    StorageLocations storage;
    storage.pinsFile = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QLatin1Char('/') + PinsFile::relativePath;
    AppDelegate app(platform, views, options, storage);
    delegate = &app;
    host.onTerminate([] { QCoreApplication::quit(); });
    Subscription reopen = platform.appShell->observeReopen([&app] { app.applicationShouldHandleReopen(); });

    ProcessSignals processSignals;
    app.applicationDidFinishLaunching();
    const int status = QApplication::exec();
    app.applicationWillTerminate();
    return status;
}

} // namespace

// The program's four ways to run (after the usage, when asked for or needed): a diagnostic mode, the
// playground, the clipboard preview and the application.
int main(int argc, char* argv[]) {
#if !defined(Q_OS_MACOS)
    giveLargeBlocksTheirOwnPages();
    providePrivateRuntimeDir(QDir::tempPath());
#endif
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Nothing starts on a mistyped switch: the usage says what there is.
    if (arguments.contains(QStringLiteral("--help"))) {
        QTextStream(stdout) << usage();
        return 0;
    }
    if (const auto unknown = unknownSwitch(arguments)) {
        QTextStream(stderr) << "Fenwold: unknown switch " << *unknown << "\n\n" << usage();
        return 2;
    }
    const CommandLineMode mode = parseMode(arguments);
    if (mode.kind != CommandLineMode::Kind::normal) {
        if (const auto status = runDiagnostics(mode, argc, argv)) return *status;
    }

    // A headless scripted run on the virtual clock needs no display.
    const bool headlessScript =
        arguments.contains("--script") && arguments.contains("--virtual-time") && !hostHasDisplay();
    if (headlessScript && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (wantsPlayground(arguments, hostHasDisplay())) return runPlayground(arguments);
    // The settings window closing must not end a menu-bar application.
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<Host> host = makeHost();
    Platform platform = host->platform();
    platform.appShell->setAccessoryPolicy();
    const StartupOptions options = parseStartupOptions(arguments);
    if (options.clipboardPreview) return runClipboardPreview(*host, platform, options);
    return runApplication(*host, platform, options);
}

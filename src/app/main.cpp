#include "ClipboardPreview.h"
#include "Modes.h"
#include "SimHost.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

using namespace fenwold;

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineMode mode = parseMode(arguments);

    if (mode.kind != CommandLineMode::Kind::normal) {
        // Diagnostic modes print and exit; they need an event loop but no windows.
        QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        SimHost host;
        Platform platform = host.platform();
        if (auto status = runDiagnosticMode(mode, platform, out)) return *status;
    }

    QApplication application(argc, argv);
    SimHost host;
    Platform platform = host.platform();
    const StartupOptions options = parseStartupOptions(arguments);
    if (options.clipboardPreview) {
        ClipboardPreview preview(platform, options);
        preview.show();
        return application.exec();
    }
    // The menu-bar application is assembled by the application shell; until it is part of this
    // build, say so rather than sitting silently in the event loop.
    std::fprintf(stderr, "Fenwold: the menu-bar application is not part of this build yet; "
                         "run with --selfcheck or --tcc\n");
    return 2;
}

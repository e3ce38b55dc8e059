#pragma once

#include "WindowModes.h"
#include "core/shell/CommandLine.h"

#include <QTextStream>

namespace fenwold {

struct Platform;

// Runs a diagnostic mode that ends with an exit status; nullopt when the mode is the normal
// start (or not available in this build), so the caller goes on starting the application.
// Modes that wait run `loop`; without one they run the Qt event loop.
std::optional<int> runDiagnosticMode(const CommandLineMode& mode, Platform& platform, QTextStream& out,
                                     ModeLoop* loop = nullptr);

} // namespace fenwold

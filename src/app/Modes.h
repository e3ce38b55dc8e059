#pragma once

#include "core/shell/CommandLine.h"

#include <QTextStream>

namespace fenwold {

struct Platform;

// Runs a diagnostic mode that ends with an exit status; nullopt when the mode is the normal
// start (or not available in this build), so the caller goes on starting the application.
std::optional<int> runDiagnosticMode(const CommandLineMode& mode, Platform& platform, QTextStream& out);

} // namespace fenwold

#pragma once

#include "WindowModes.h"
#include "core/shell/CommandLine.h"

#include <QTextStream>
#include <functional>
#include <memory>

namespace fenwold {

struct Platform;
class UpdateCheck;

// Makes the host's report-only update check.
using UpdateCheckFactory = std::function<std::unique_ptr<UpdateCheck>()>;

// Runs a diagnostic mode that ends with an exit status; nullopt when the mode is the normal
// start (or not available in this build), so the caller goes on starting the application.
// Modes that wait run `loop`; without one they run the Qt event loop. "--check-updates" is
// available only with `updateChecks`.
std::optional<int> runDiagnosticMode(const CommandLineMode& mode, Platform& platform, QTextStream& out,
                                     ModeLoop* loop = nullptr, const UpdateCheckFactory& updateChecks = {});

} // namespace fenwold

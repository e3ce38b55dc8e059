#pragma once

#include "ModeLoop.h"

#include <QString>
#include <QTextStream>
#include <optional>

namespace fenwold {

struct Platform;
struct CommandLineMode;

// The window diagnostics of the command line.
int dumpWindows(Platform& platform, QTextStream& out);
int dumpMenus(Platform& platform, QTextStream& out, const std::optional<QString>& name);
int watchWindows(Platform& platform, QTextStream& out, ModeLoop& loop);
int snapWindow(Platform& platform, QTextStream& out, const QString& position, const QString& appName,
               ModeLoop& loop);
// The window-preview self-check of one window; status 1 on the first failing step.
int verifyWindow(Platform& platform, QTextStream& out, const CommandLineMode& mode, ModeLoop& loop);

} // namespace fenwold

#pragma once

#include "platform/qt/PrefsFile.h"
#include "ui/playground/PlaygroundSession.h"

#include <QStringList>
#include <memory>

namespace fenwold {

// Where the playground keeps the simulated user's settings between runs, and how it starts.
struct PlaygroundPrefs {
    std::unique_ptr<PrefsFile> file; // none: nothing is kept
    StartingSettings starting = StartingSettings::demonstration;
};
// A scripted run starts from the demonstration settings and keeps nothing, so that it plays the
// same every time. Otherwise the settings live in `path` (the user's configuration folder by
// default) over `memory`: kept from the last run, or, the first time and with "--fresh", the
// simulated user's first run, welcome included.
PlaygroundPrefs playgroundPrefs(const QStringList& arguments, PrefsStore& memory, const QString& path);

// Whether this run opens the playground: "--playground" or "--script" asked for it, or the
// program runs on a Linux desktop (a display is set) where no Mac is there to work on.
bool wantsPlayground(const QStringList& arguments, bool hasDisplay);
bool hostHasDisplay();

// The program against a visible simulated Mac. "--script FILE" plays a script and exits
// (status 1 when it does not parse or a step fails); "--virtual-time" runs it on the virtual
// clock, as fast as it can (it has no effect without a script); "--screenshots DIR" is where its screenshots
// go (default: "screenshots"); "--fresh" forgets the settings earlier runs kept. Needs the
// application object to exist.
int runPlayground(const QStringList& arguments);

} // namespace fenwold

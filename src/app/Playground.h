#pragma once

#include <QStringList>

namespace fenwold {

// Whether this run opens the playground: "--playground" or "--script" asked for it, or the
// program runs on a Linux desktop (a display is set) where no Mac is there to work on.
bool wantsPlayground(const QStringList& arguments, bool hasDisplay);
bool hostHasDisplay();

// The program against a visible simulated Mac. "--script FILE" plays a script and exits
// (status 1 when it does not parse or a step fails); "--virtual-time" runs it on the virtual
// clock, as fast as it can (it has no effect without a script); "--screenshots DIR" is where its screenshots
// go (default: "screenshots"). Needs the application object to exist.
int runPlayground(const QStringList& arguments);

} // namespace fenwold

#include "SimHost.h"

namespace fenwold {

SimHost::SimHost() {
    // The simulated windows react (full screen, Spaces) on the real clock like everything else.
    session_.windows.setQueue(mainQueue_);
}

Platform SimHost::platform() {
    Platform p = session_.platform();
    p.mainQueue = &mainQueue_;
    p.clipboardQueue = &clipboardQueue_;
    p.background = &background_;
    p.log = &log_;
    p.clock = &clock_;
    return p;
}

} // namespace fenwold

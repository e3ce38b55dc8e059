#include "SimHost.h"

namespace fenwold {

SimHost::SimHost() = default;

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

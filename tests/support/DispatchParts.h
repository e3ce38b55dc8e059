#pragma once

#include "core/input/TapDispatcher.h"
#include "platform/sim/SimSession.h"

namespace fenwold::testing {

// The event dispatch's platform parts from a simulated session. Each test adds the
// collaborators it exercises (switcher, snap assist, window menu, hints, ...).
inline TapDispatcher::Parts dispatchPartsOf(SimSession& sim, InputRoutingState& routing) {
    TapDispatcher::Parts p;
    p.prefs = &sim.prefs;
    p.mainQueue = &sim.mainQueue;
    p.routing = &routing;
    p.workspace = &sim.workspace;
    p.processes = &sim.processes;
    p.inputSources = &sim.inputSources;
    p.log = &sim.log;
    p.tap = &sim.eventTap;
    return p;
}

} // namespace fenwold::testing

#include "SimHost.h"

namespace fenwold {

// Off Apple systems the program runs on the simulated session, with its standard desktop open.
std::unique_ptr<Host> makeHost() {
    auto host = std::make_unique<SimHost>();
    host->openStandardDesktop();
    return host;
}

} // namespace fenwold

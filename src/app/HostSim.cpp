#include "SimHost.h"

namespace fenwold {

std::unique_ptr<Host> makeHost() {
    auto host = std::make_unique<SimHost>();
    host->openStandardDesktop();
    return host;
}

} // namespace fenwold

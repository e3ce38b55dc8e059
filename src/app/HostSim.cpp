#include "SimHost.h"

namespace fenwold {

std::unique_ptr<Host> makeHost() {
    return std::make_unique<SimHost>();
}

} // namespace fenwold

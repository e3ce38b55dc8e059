#include "SwallowedKeys.h"

namespace fenwold {} // namespace fenwold

#pragma once

#include "ports/Log.h"

namespace fenwold {

// The real wall clock, in seconds since 2001-01-01.
class SystemClock final : public WallClock {
public:
    double now() const override;
};

} // namespace fenwold

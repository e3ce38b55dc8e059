#pragma once

#include "ports/Log.h"

#include <mutex>

namespace fenwold {

// A wall clock that moves only when told (seconds since 2001-01-01).
class SimClock final : public WallClock {
public:
    double now() const override;
    void set(double seconds);
    void advance(double seconds);

private:
    mutable std::mutex mutex_;
    double now_ = 786'000'000; // late 2025
};

} // namespace fenwold

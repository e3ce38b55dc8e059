#pragma once

#include <QString>

namespace fenwold {

// The system log. Every line the program writes starts with "Fenwold: ".
class Log {
public:
    Log() = default;
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    virtual ~Log() = default;

    // Write one line as given (callers include the "Fenwold: " prefix). Thread-safe.
    virtual void line(const QString& text) = 0;
};

// Wall-clock time, for capture dates and the trace's start line.
class WallClock {
public:
    WallClock() = default;
    WallClock(const WallClock&) = delete;
    WallClock& operator=(const WallClock&) = delete;
    virtual ~WallClock() = default;

    // Seconds since 2001-01-01 00:00:00 UTC (the reference date of the platform's absolute time).
    virtual double now() const = 0;
};

} // namespace fenwold

#pragma once

namespace fenwold {

// Runs the main loop for a mode that waits, until `quit` is called with the exit status.
class ModeLoop {
public:
    ModeLoop() = default;
    ModeLoop(const ModeLoop&) = delete;
    ModeLoop& operator=(const ModeLoop&) = delete;
    virtual ~ModeLoop() = default;

    virtual int run() = 0;
    virtual void quit(int status) = 0;
};

} // namespace fenwold

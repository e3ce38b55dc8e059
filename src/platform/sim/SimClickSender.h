#pragma once

#include "ports/ClickSender.h"

#include <functional>
#include <mutex>
#include <vector>

namespace fenwold {

// One left-button event the program posted into the simulated session.
struct PostedClick {
    uint32_t type = 0;
    Point location; // top-left-origin global coordinates
    uint64_t flags = 0;
    int64_t clickState = 1;
    friend bool operator==(const PostedClick&, const PostedClick&) = default;
};

// Records every posted button event and hands it to the simulated window server.
class SimClickSender final : public ClickSender {
public:
    bool post(uint32_t type, Point location, uint64_t flags, int64_t clickState) override;

    std::vector<PostedClick> posted() const;
    void clear();
    // Called for every posted event, on the thread that posted it. Set before use.
    std::function<void(const PostedClick&)> onPost;

private:
    mutable std::mutex mutex_;
    std::vector<PostedClick> posted_;
};

} // namespace fenwold

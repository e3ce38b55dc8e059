#pragma once

#include "ports/KeySender.h"

#include <functional>
#include <mutex>
#include <vector>

namespace fenwold {

// One synthetic key event as a simulated process received it; pid 0 for a key posted to the
// session.
struct PostedKey {
    uint16_t keyCode = 0;
    bool keyDown = true;
    uint64_t flags = 0;
    int32_t pid = 0;
    friend bool operator==(const PostedKey&, const PostedKey&) = default;
};

// Records every synthetic key and hands it to the receiving application's handler.
class SimKeySender final : public KeySender {
public:
    bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) override;
    bool postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) override;

    std::vector<PostedKey> posted() const;
    void clear();
    // Make event creation fail (as when no event source can be made).
    void setCreationFails(bool fails);
    // Called for every delivered key (the simulated applications react to it). Set before use.
    std::function<void(const PostedKey&)> onDeliver;
    // Called for every key posted to the session (the simulated system's shortcuts react to it).
    std::function<void(const PostedKey&)> onSession;

private:
    mutable std::mutex mutex_;
    std::vector<PostedKey> posted_;
    bool creationFails_ = false;
};

} // namespace fenwold

#pragma once

#include <cstdint>
#include <optional>

namespace fenwold {

// Secure Event Input (password fields, a terminal's Secure Keyboard Entry): while any process
// holds it, no event tap sees a key. Read on the main thread.
class SecureInput {
public:
    SecureInput() = default;
    SecureInput(const SecureInput&) = delete;
    SecureInput& operator=(const SecureInput&) = delete;
    virtual ~SecureInput() = default;

    // Whether any process of the session holds it.
    virtual bool enabled() const = 0;
    // The process holding it, when the system says.
    virtual std::optional<int32_t> holderPid() const = 0;
};

} // namespace fenwold

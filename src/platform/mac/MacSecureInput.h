#pragma once

#include "ports/SecureInput.h"

namespace fenwold {

// Secure Event Input as HIToolbox reports it, with the holder's pid from the window server's
// session dictionary.
class MacSecureInput final : public SecureInput {
public:
    bool enabled() const override;
    std::optional<int32_t> holderPid() const override;
};

} // namespace fenwold

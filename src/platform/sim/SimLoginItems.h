#pragma once

#include "ports/AppShell.h"

#include <mutex>
#include <optional>

namespace fenwold {

class SimLoginItems final : public LoginItems {
public:
    Status status() const override;
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;
    void setStatus(Status status);
    void setFailure(std::optional<QString> error);

private:
    mutable std::mutex mutex_;
    Status status_ = Status::notRegistered;
    std::optional<QString> failure_;
};

} // namespace fenwold

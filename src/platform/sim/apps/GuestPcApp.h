#pragma once

#include "SimApplication.h"

namespace fenwold {

// A virtual machine (or remote desktop) window: a guest PC that takes every key reaching it for
// itself and shows them, newest last, so one sees whether the real keys or the program's
// translations arrive.
class GuestPcApp final : public SimApplication {
public:
    static constexpr int kShownKeys = 8;
    explicit GuestPcApp(SimSession& session);

    uint32_t openScreen(Rect frame);
    QStringList content(uint32_t window) const override;

protected:
    // The guest takes everything, Command keys included.
    bool handleKey(std::optional<uint32_t>, const AppKey&) override { return true; }
};

} // namespace fenwold

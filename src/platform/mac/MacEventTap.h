#pragma once

#include "ports/EventTapHost.h"

#include <memory>

namespace fenwold {

// The session event tap on its own thread, "Fenwold.eventTap", at user-interactive priority.
class MacEventTap final : public EventTapHost {
public:
    MacEventTap();
    ~MacEventTap() override;

    bool start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) override;
    void reEnable() override;
    uint64_t modifierState(ModifierState which) const override;

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace fenwold

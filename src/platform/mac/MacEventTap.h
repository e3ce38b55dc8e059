#pragma once

#include "ports/EventTapHost.h"

#include <memory>

namespace fenwold {

// The session event tap on its own thread, "Fenwold.eventTap", at user-interactive priority, with
// its own run loop. Stopping it (or destroying it) joins that thread.
class MacEventTap final : public EventTapHost {
public:
    MacEventTap();
    ~MacEventTap() override;

    bool start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) override;
    void reEnable() override;
    void disable() override;
    void stop() override;
    uint64_t modifierState(ModifierState which) const override;

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace fenwold

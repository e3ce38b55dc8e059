#pragma once

#include "ports/EventTapHost.h"

#include <functional>
#include <mutex>

namespace fenwold {

class SecureInput;
class SimAccessibility;

// The session event tap: the simulated hardware feeds events through the installed handler. As
// macOS does, a tap made while the process is not trusted for Accessibility has no key events
// (none at all when only those were asked for), and a tap whose process loses the permission
// gets no key events again, even once it is given back: only a new tap has them.
class SimEventTap final : public EventTapHost {
public:
    bool start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) override;
    void reEnable() override;
    void disable() override;
    void stop() override;
    uint64_t modifierState(ModifierState which) const override;

    bool started() const;
    // False between `disable` and the next `reEnable`: events pass without reaching the handler.
    bool enabled() const;
    void setModifierState(ModifierState which, uint64_t flags);
    int reEnableCount() const;
    uint64_t eventMask() const;
    void setCreationFails(bool fails);
    // Run one hardware event through the tap as macOS would; pass when no tap is installed. Like
    // the real tap, events outside the mask are not seen (the tap-disabled notices always are),
    // nor are keys while a process holds Secure Event Input.
    TapAnswer feed(TapEvent& event);
    void setSecureInput(const SecureInput* secureInput);
    void setAccessibility(const SimAccessibility* accessibility);
    // How many taps were made.
    int startCount() const;
    // Runs inside `reEnable`, before the tap is on again (a test's way into a race).
    std::function<void()> beforeReEnable;

private:
    mutable std::mutex mutex_;
    // Held while the handler runs, so that `stop` waits for a delivery in flight, as the real
    // tap's thread is joined.
    std::recursive_mutex delivering_;
    std::function<TapAnswer(TapEvent&)> handler_;
    bool enabled_ = true;
    int reEnables_ = 0;
    uint64_t mask_ = 0;
    bool creationFails_ = false;
    uint64_t hardwareFlags_ = 0;
    uint64_t sessionFlags_ = 0;
    const SecureInput* secureInput_ = nullptr;
    const SimAccessibility* accessibility_ = nullptr;
    bool keysAllowed_ = true;
    uint64_t revocationsAtStart_ = 0;
    int starts_ = 0;
};

} // namespace fenwold

#pragma once

#include "ports/KeyboardLayout.h"

namespace fenwold {

// The session's keyboard layouts through Text Input Sources, their keys translated by
// UCKeyTranslate over each layout's Unicode ('uchr') data. Main thread only: the framework traps
// elsewhere on recent systems.
class MacKeyboardLayout final : public KeyboardLayout {
public:
    std::optional<KeyboardInputSource> currentSource() const override;
    std::optional<LayoutTranslations> translate(LayoutChoice which, uint32_t keyboardType) const override;
    uint32_t keyboardType() const override;
    Subscription observeChanges(std::function<void()> handler) override;
};

} // namespace fenwold

#pragma once

#include "ports/InputSources.h"

namespace fenwold {

// Keyboard input sources through Text Input Sources. Main thread only: the framework traps
// elsewhere on recent systems.
class MacInputSources final : public InputSources {
public:
    std::vector<InputSourceInfo> sources() const override;
    std::optional<QString> current() const override;
    bool select(const QString& id) override;
};

} // namespace fenwold

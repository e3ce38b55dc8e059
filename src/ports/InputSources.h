#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

// One keyboard input source (layout or input method).
struct InputSourceInfo {
    QString id;
    bool selectCapable = true;
    bool enabled = true;
    bool isKeyboardLayout = true; // a keyboard layout or input mode, not a palette or similar
    friend bool operator==(const InputSourceInfo&, const InputSourceInfo&) = default;
};

// Keyboard input sources. Main thread only.
class InputSources {
public:
    InputSources() = default;
    InputSources(const InputSources&) = delete;
    InputSources& operator=(const InputSources&) = delete;
    virtual ~InputSources() = default;

    // The enabled keyboard sources in the system's order.
    virtual std::vector<InputSourceInfo> sources() const = 0;
    // The current keyboard source's id.
    virtual std::optional<QString> current() const = 0;
    // Select a source; false when it could not be selected.
    virtual bool select(const QString& id) = 0;
};

} // namespace fenwold

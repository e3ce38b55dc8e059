#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

namespace fenwold {

// HID usages (page and usage in one number) as the key mapping names the keys.
namespace hidusage {
inline constexpr uint64_t leftControl = 0x7000000E0, leftCommand = 0x7000000E3;
inline constexpr uint64_t rightControl = 0x7000000E4, rightCommand = 0x7000000E7;
inline constexpr uint64_t capsLock = 0x700000039, f19 = 0x70000006E, globe = 0xFF00000003;
} // namespace hidusage

class PrefsStore;
class Processes;
class Log;
class InputSources;

// Hardware-level key remaps through the system key-mapping tool: Control/Command swap, Caps Lock
// as Globe, F19 as Globe. The mapping lives in the system until the next `set`.
class HIDRemap {
public:
    using Pair = std::pair<uint64_t, uint64_t>; // HID usage (page << 32 | usage), source to destination

    HIDRemap(PrefsStore& prefs, Processes& processes, Log& log)
        : prefs_(&prefs), processes_(&processes), log_(&log) {}

    static std::vector<Pair> mapping(bool swap, bool caps, bool f19key);
    // The "UserKeyMapping" text handed to the tool.
    static QString json(const std::vector<Pair>& pairs);

    // Launches the tool with the mapping, without waiting for it.
    void set(const std::vector<Pair>& pairs) const;
    // Installs the mapping of the current preferences (all off installs the empty mapping).
    void apply() const;
    bool isActive() const;

private:
    PrefsStore* prefs_;
    Processes* processes_;
    Log* log_;
};

// Cycles the keyboard input source, as a bare Globe tap does (or back, to the one before). Main
// thread only.
struct InputSource {
    static void cycle(InputSources& sources, bool backward = false);
};

} // namespace fenwold

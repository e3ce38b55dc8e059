#pragma once

#include "KeyLayoutTable.h"

#include <atomic>
#include <memory>
#include <vector>

namespace fenwold {

class KeyboardLayout;
class MainQueue;
class Log;

// The layout shortcuts are read with: the selected keyboard layout when it types ASCII,
// otherwise the ASCII-capable layout the system keeps for shortcuts (so Ctrl+C still copies on
// a Russian, Greek or Japanese input source), and the keys' US meaning when neither can be read.
// Built on the main thread when the selected input source or the keyboard type changes; the tap
// thread reads the table without a lock or an allocation.
class ShortcutLayout {
public:
    ShortcutLayout(KeyboardLayout& layouts, MainQueue& mainQueue, Log& log);
    ShortcutLayout(const ShortcutLayout&) = delete;
    ShortcutLayout& operator=(const ShortcutLayout&) = delete;
    ~ShortcutLayout();

    // The table now. Any thread; it stays valid for the life of this object.
    const KeyLayoutTable& table() const { return *current_.load(std::memory_order_acquire); }
    // Tap thread: a key came from a keyboard of this type (0 when unknown). A type the table was
    // not built for has it rebuilt on the main queue.
    void keyboardTyped(uint32_t keyboardType);
    // Main thread: read the layout again.
    void rebuild();

private:
    void publish(KeyLayoutTable table);

    KeyboardLayout& layouts_;
    MainQueue& mainQueue_;
    Log& log_;
    uint32_t keyboardType_;
    // Every table ever published, so that a reader holding one is never left with a freed one;
    // equal tables are published once. Main thread.
    std::vector<std::unique_ptr<const KeyLayoutTable>> published_;
    std::atomic<const KeyLayoutTable*> current_{nullptr};
    std::atomic<uint32_t> requestedType_{0};
    Subscription changes_;
};

} // namespace fenwold

#pragma once

#include "ClipboardEntry.h"
#include "ports/MainQueue.h"
#include "ports/Subscription.h"
#include "ports/Workspace.h"

#include <QUuid>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

class Pasteboard;
class WallClock;

// What the store needs from the rest of the program besides its pasteboard.
struct ClipboardStoreServices {
    MainQueue* mainQueue = nullptr;
    SerialQueue* worker = nullptr; // builds entries, reads and writes the pins file
    std::function<std::optional<RunningApp>()> frontmostApp;
    WallClock* clock = nullptr;
    // This program's bundle identifier: copies made inside the program are not captured.
    std::optional<QString> ownBundleID;
};

// The clipboard history: polls the pasteboard, captures new copies unless privacy rules forbid
// it, de-duplicates and bounds the list, keeps pins and their file, and writes clips back.
// Main thread only; the worker only ever sees values.
class ClipboardStore {
public:
    static constexpr double pollInterval = 0.45;
    static constexpr double pollTolerance = 0.15;
    static inline const QString pinsFullMessage =
        QStringLiteral("Pinned clips are full. Unpin a clip to make room.");

    ClipboardStore(std::optional<QString> pinsPath, Pasteboard& pasteboard,
                   std::function<bool()> captureEnabled, ClipboardStoreServices services);
    ~ClipboardStore();
    ClipboardStore(const ClipboardStore&) = delete;
    ClipboardStore& operator=(const ClipboardStore&) = delete;

    // Load the pins and start polling; does nothing the second time.
    void start();
    // One capture step; also called when the shelf opens.
    void poll();
    // De-duplicating insert at the front, then trim.
    void insert(ClipboardEntry entry);
    void togglePin(const QUuid& id);
    void remove(const QUuid& id);
    // Drop every unpinned clip (and a capture in flight); pins stay in their order.
    void clearRecent();
    // Pause or resume capture; copies made while paused are never captured.
    void togglePaused();

    const std::vector<ClipboardEntry>& entries() const { return entries_; }
    const ClipboardEntry* entry(const QUuid& id) const;
    bool paused() const { return paused_; }
    const std::optional<QString>& message() const { return message_; }
    void setMessage(std::optional<QString> message);

    Pasteboard& pasteboard() const { return *pasteboard_; }
    long lastChange() const { return lastChange_; }
    void setLastChange(long changeCount) { lastChange_ = changeCount; }
    uint64_t generation() const { return generation_; }
    // Make every capture still in flight stale.
    void bumpGeneration() { ++generation_; }
    bool processing() const { return processing_; }

    // Called after every change of entries, paused or message (main thread).
    Subscription observe(std::function<void()> changed);

private:
    void trim();
    void savePins();
    void loadPins();
    void changed();

    std::optional<QString> pinsPath_;
    Pasteboard* pasteboard_;
    std::function<bool()> captureEnabled_;
    ClipboardStoreServices services_;

    std::vector<ClipboardEntry> entries_;
    bool paused_ = false;
    std::optional<QString> message_;
    TimerHandle timer_;
    long lastChange_ = 0;
    uint64_t generation_ = 0;
    bool processing_ = false;
    bool wasEnabled_ = false;

    ObserverList observers_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace fenwold

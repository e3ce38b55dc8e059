#include "ClipboardStore.h"

#include "PinsFile.h"
#include "ports/Log.h"
#include "ports/Pasteboard.h"

#include <algorithm>

namespace fenwold {

ClipboardStore::ClipboardStore(std::optional<QString> pinsPath, Pasteboard& pasteboard,
                               std::function<bool()> captureEnabled, ClipboardStoreServices services)
    : pinsPath_(std::move(pinsPath)), pasteboard_(&pasteboard), captureEnabled_(std::move(captureEnabled)),
      services_(std::move(services)), lastChange_(pasteboard.changeCount()) {}

ClipboardStore::~ClipboardStore() {
    timer_.cancel();
}

namespace {

// Hands work from the worker back to the main thread, where it runs only if the store is alive.
void postIfAlive(MainQueue* queue, const std::weak_ptr<int>& alive, std::function<void()> work) {
    queue->post([alive, work = std::move(work)] {
        if (alive.lock()) work();
    });
}

} // namespace

void ClipboardStore::start() {
    if (timer_) return;
    loadPins();
    wasEnabled_ = captureEnabled_();
    lastChange_ = pasteboard_->changeCount();
    timer_ = services_.mainQueue->every(pollInterval, pollTolerance,
                                        [this, alive = std::weak_ptr<int>(lifetime_)] {
                                            if (alive.lock()) poll();
                                        });
}

void ClipboardStore::poll() {
    const bool enabled = captureEnabled_();
    if (enabled != wasEnabled_) {
        wasEnabled_ = enabled;
        ++generation_;
        lastChange_ = pasteboard_->changeCount();
    }
    if (!enabled || paused_) {
        lastChange_ = pasteboard_->changeCount();
        return;
    }
    if (processing_) return; // the change is seen again on a later tick
    const long change = pasteboard_->changeCount();
    if (change == lastChange_) return;
    lastChange_ = change;

    const std::optional<RunningApp> front = services_.frontmostApp();
    const std::optional<QString> sourceID = front ? front->bundleID : std::nullopt;
    if (sourceID == services_.ownBundleID) return;

    auto payload = ClipPayload::capture(*pasteboard_, sourceID);
    if (!payload) return;
    if (pasteboard_->changeCount() != change) return; // changed while reading: take the newer copy next tick

    SavedClip saved{QUuid::createUuid(), std::move(*payload),
                    front && front->name ? *front->name : QStringLiteral("Unknown app"), sourceID,
                    services_.clock->now()};
    const uint64_t generation = generation_;
    processing_ = true;
    services_.worker->async([this, queue = services_.mainQueue, saved = std::move(saved), generation,
                             alive = std::weak_ptr<int>(lifetime_)] {
        ClipboardEntry entry(saved, false);
        postIfAlive(queue, alive, [this, generation, entry = std::move(entry)]() mutable {
            processing_ = false;
            if (generation_ == generation && captureEnabled_() && !paused_) insert(std::move(entry));
        });
    });
}

void ClipboardStore::insert(ClipboardEntry entry) {
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const ClipboardEntry& e) {
        return e.fingerprint() == entry.fingerprint();
    });
    if (same != entries_.end()) {
        entry.saved.id = same->saved.id;
        entry.pinned = same->pinned;
        entries_.erase(same);
    }
    entries_.insert(entries_.begin(), std::move(entry));
    trim();
    changed();
}

void ClipboardStore::trim() {
    qint64 total = 0;
    for (const auto& e : entries_)
        total += e.saved.payload.byteCount();
    while (entries_.size() > static_cast<std::size_t>(ClipLimits::maxEntries) ||
           total > ClipLimits::maxHistoryBytes) {
        const auto oldest =
            std::find_if(entries_.rbegin(), entries_.rend(), [](const auto& e) { return !e.pinned; });
        if (oldest == entries_.rend()) return; // pins alone may exceed the bounds
        total -= oldest->saved.payload.byteCount();
        entries_.erase(std::next(oldest).base());
    }
}

const ClipboardEntry* ClipboardStore::entry(const QUuid& id) const {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.id() == id; });
    return it == entries_.end() ? nullptr : &*it;
}

void ClipboardStore::togglePin(const QUuid& id) {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.id() == id; });
    if (it == entries_.end()) return;
    if (it->pinned) {
        it->pinned = false;
        savePins();
        changed();
        return;
    }
    int pins = 0;
    qint64 pinnedBytes = 0;
    for (const auto& e : entries_) {
        if (!e.pinned) continue;
        ++pins;
        pinnedBytes += e.saved.payload.byteCount();
    }
    if (pins < ClipLimits::maxPins &&
        pinnedBytes + it->saved.payload.byteCount() <= ClipLimits::maxPinnedBytes) {
        it->pinned = true;
        savePins();
    } else {
        message_ = pinsFullMessage;
    }
    changed();
}

void ClipboardStore::remove(const QUuid& id) {
    bool wasPinned = false;
    const auto removed = std::remove_if(entries_.begin(), entries_.end(), [&](const ClipboardEntry& e) {
        if (e.id() != id) return false;
        wasPinned = wasPinned || e.pinned;
        return true;
    });
    if (removed == entries_.end()) return;
    entries_.erase(removed, entries_.end());
    if (wasPinned) savePins();
    changed();
}

void ClipboardStore::clearRecent() {
    ++generation_;
    std::erase_if(entries_, [](const ClipboardEntry& e) { return !e.pinned; });
    changed();
}

void ClipboardStore::togglePaused() {
    ++generation_;
    paused_ = !paused_;
    lastChange_ = pasteboard_->changeCount();
    changed();
}

void ClipboardStore::setMessage(std::optional<QString> message) {
    message_ = std::move(message);
    changed();
}

void ClipboardStore::savePins() {
    if (!pinsPath_) return;
    std::vector<SavedClip> pins;
    for (const auto& e : entries_)
        if (e.pinned) pins.push_back(e.saved);
    services_.worker->async([this, queue = services_.mainQueue, path = *pinsPath_, pins = std::move(pins),
                             alive = std::weak_ptr<int>(lifetime_)] {
        if (PinsFile::save(path, pins)) return;
        postIfAlive(queue, alive, [this] { setMessage(PinsFile::saveFailedMessage); });
    });
}

void ClipboardStore::loadPins() {
    if (!pinsPath_) return;
    services_.worker->async(
        [this, queue = services_.mainQueue, path = *pinsPath_, alive = std::weak_ptr<int>(lifetime_)] {
            auto result = PinsFile::load(path);
            postIfAlive(queue, alive, [this, result = std::move(result)]() mutable {
                if (result.failed) {
                    setMessage(PinsFile::loadFailedMessage);
                    return;
                }
                // Last to first, so they end up in file order at the front.
                for (auto it = result.entries.rbegin(); it != result.entries.rend(); ++it)
                    insert(std::move(*it));
            });
        });
}

Subscription ClipboardStore::observe(std::function<void()> changedHandler) {
    return observers_.add(std::move(changedHandler));
}

void ClipboardStore::changed() {
    observers_.notify();
}

} // namespace fenwold

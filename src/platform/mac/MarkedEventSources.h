#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace fenwold {

// Quartz event sources whose events carry the own-event marker, one for each posting thread:
// events are posted from the event tap's thread and from the main thread, and Quartz documents no
// thread safety for a shared source.
class MarkedEventSources {
public:
    // marker: the value stamped into every event's source user-data field.
    explicit MarkedEventSources(int64_t marker) : marker_(marker) {}
    MarkedEventSources(const MarkedEventSources&) = delete;
    MarkedEventSources& operator=(const MarkedEventSources&) = delete;
    ~MarkedEventSources();

    // This thread's source (a CGEventSourceRef the object keeps), made on its first use; null when
    // none can be made.
    void* forThisThread();
    int64_t marker() const { return marker_; }

private:
    const int64_t marker_;
    std::mutex mutex_;
    std::map<std::thread::id, void*> sources_;
};

} // namespace fenwold

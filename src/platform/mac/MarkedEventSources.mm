#include "MarkedEventSources.h"

#import <ApplicationServices/ApplicationServices.h>

namespace fenwold {

MarkedEventSources::~MarkedEventSources() {
    for (const auto& [thread, source] : sources_)
        if (source)
            CFRelease(static_cast<CGEventSourceRef>(source));
}

void* MarkedEventSources::forThisThread() {
    std::lock_guard lock(mutex_);
    auto [it, made] = sources_.try_emplace(std::this_thread::get_id(), nullptr);
    if (!made)
        return it->second;
    // Every event made from this source carries the marker, so the tap passes it untouched. An
    // explicit source also keeps event creation off the main thread's input-source machinery.
    CGEventSourceRef source = CGEventSourceCreate(kCGEventSourceStatePrivate);
    if (source)
        CGEventSourceSetUserData(source, marker_);
    it->second = source;
    return source;
}

} // namespace fenwold

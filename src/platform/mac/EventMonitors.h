#pragma once

#include "ports/Subscription.h"

#import <AppKit/AppKit.h>

#include <functional>

namespace fenwold {

// A global and a local event monitor for the same events, as one subscription. Global monitors
// see only events bound for other applications, and local ones only this application's; the
// global one is not made (nil) without Accessibility trust, and removeMonitor: takes only a
// real monitor. The local handler returns the event unchanged.
inline Subscription monitorEvents(NSEventMask mask, std::function<void(NSEvent* event, bool local)> handler) {
    auto shared = std::make_shared<std::function<void(NSEvent*, bool)>>(std::move(handler));
    id global = [NSEvent addGlobalMonitorForEventsMatchingMask:mask
                                                       handler:^(NSEvent* event) {
                                                         (*shared)(event, false);
                                                       }];
    id local = [NSEvent addLocalMonitorForEventsMatchingMask:mask
                                                     handler:^NSEvent*(NSEvent* event) {
                                                       (*shared)(event, true);
                                                       return event;
                                                     }];
    return Subscription([global, local] {
        if (global)
            [NSEvent removeMonitor:global];
        if (local)
            [NSEvent removeMonitor:local];
    });
}

} // namespace fenwold

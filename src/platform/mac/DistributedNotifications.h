#pragma once

#include "ports/Subscription.h"

#include <QString>
#include <functional>

namespace fenwold {

// Hear a distributed notification by name, on the main thread's run loop (where this is called),
// also while the application is not active.
Subscription observeDistributedNotification(const QString& name, std::function<void()> handler);

} // namespace fenwold

#pragma once

#include "ports/Updates.h"

#include <QByteArray>
#include <variant>

namespace fenwold {

// The items of an RSS update feed, or a description of why the feed is unreadable.
std::variant<std::vector<AppcastItem>, QString> parseAppcast(const QByteArray& feed);

// Compares versions the way update feeds conventionally are: runs of digits compare as numbers,
// other runs as text, and a version that continues with text after an equal prefix ("1.0b2" vs
// "1.0") is the older one. Negative, zero or positive like strcmp.
int compareVersions(const QString& a, const QString& b);

// The newest item that is newer than the running build and allowed on this system version.
std::optional<AppcastItem> bestUpdate(const std::vector<AppcastItem>& items, const QString& runningBuild,
                                      const QString& systemVersion);

} // namespace fenwold

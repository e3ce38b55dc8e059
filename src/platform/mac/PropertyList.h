#pragma once

#include "ports/PrefsStore.h"

#include <CoreFoundation/CoreFoundation.h>
#include <QVariant>

namespace fenwold {

// Conversions between property-list values and the program's plain values.
QVariant toVariant(CFPropertyListRef value);
PrefValue toPrefValue(CFPropertyListRef value);
// A new property-list value (caller releases); null for an empty value.
CFPropertyListRef createPropertyList(const PrefValue& value);
CFPropertyListRef createPropertyList(const QVariant& value);

} // namespace fenwold

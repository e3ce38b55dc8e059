#pragma once

#include <QStringList>

namespace fenwold {

// Module checks of the window model's pure parts; each appends a line per failure and returns
// true when everything held.
bool windowsSelfcheck(QStringList& failures);       // snap geometry, screen choice, menu paths
bool windowStoreSelfcheck(QStringList& failures);   // capture widths and evictions
bool windowCaptureSelfcheck(QStringList& failures); // content test, downscaling, activation records

} // namespace fenwold

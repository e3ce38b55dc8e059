#pragma once

#include <QStringList>

namespace fenwold {

// The built-in clipboard check: classification, privacy, write-back, bounds, pins, search,
// navigation, the capture lifecycle and persistence, against throwaway stores. Appends one line
// per failure and returns true when everything held.
bool clipboardSelfcheck(QStringList& failures);

// What the check prints after "Clipboard selfcheck OK".
inline const QString clipboardSelfcheckSummary = QStringLiteral(
    " — classification, privacy, rich/plain/image restoration, bounds, pins, search, navigation, "
    "capture lifecycle, persistence");

} // namespace fenwold

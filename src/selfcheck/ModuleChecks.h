#pragma once

#include <QStringList>

namespace fenwold {

class PrefsStore;

// The module checks of "--selfcheck" that need nothing but the module: each appends a line per
// failure and returns true when everything held. The preferences' check works on a scratch store.
bool prefsSelfcheck(PrefsStore& scratch, QStringList& failures);
bool altF4ActionSelfcheck(QStringList& failures);
bool hidRemapSelfcheck(QStringList& failures);
bool inputSourceSelfcheck(QStringList& failures);
bool inputRoutingStateSelfcheck(QStringList& failures);
bool swallowedKeysSelfcheck(QStringList& failures);
bool switcherKeyForwarderSelfcheck(QStringList& failures);
bool finderKeysSelfcheck(QStringList& failures);
bool hintsSelfcheck(QStringList& failures);
bool dockTargetSelfcheck(QStringList& failures);
bool metricsSelfcheck(QStringList& failures);

} // namespace fenwold

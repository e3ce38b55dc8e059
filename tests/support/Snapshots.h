#pragma once

#include <QString>
#include <QtGlobal>

namespace fenwold::testing {

// The folder that snapshots of the views are saved in for the documentation and for a person to
// look at: FENWOLD_SNAPSHOT_DIR; empty when it is not set.
inline QString snapshotFolder() {
    return qEnvironmentVariable("FENWOLD_SNAPSHOT_DIR");
}

} // namespace fenwold::testing

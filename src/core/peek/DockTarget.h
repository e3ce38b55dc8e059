#pragma once

#include "core/windows/WindowInfo.h"
#include "ports/Geometry.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace fenwold {

// What lies under the pointer in the Dock: a running application's icon (or a minimised
// window's icon whose owner was found), or an icon with no process behind it.
struct DockTarget {
    enum class Kind { app, idle };
    Kind kind = Kind::idle;
    int32_t pid = 0; // app only
    Rect rect;       // the icon, in screen coordinates (origin bottom-left)

    static DockTarget app(int32_t pid, Rect rect) { return {Kind::app, pid, rect}; }
    static DockTarget idle(Rect rect) { return {Kind::idle, 0, rect}; }

    // "p<pid>" for an application, "r<left edge>" for an idle icon: stable while the pointer
    // stays on one icon, different for the next.
    QString key() const;
    friend bool operator==(const DockTarget&, const DockTarget&) = default;
};

// The process id a target key names; empty for idle keys and anything malformed.
std::optional<int32_t> pidFromKey(const QString& key);

// Whether two window lists look different in the peek: ids, titles and the minimised and hidden
// flags in order. Previews and icons don't count, so fresh images never rebuild the layout.
bool peekListChanged(const std::vector<WindowInfo>& now, const std::vector<WindowInfo>& before);

} // namespace fenwold

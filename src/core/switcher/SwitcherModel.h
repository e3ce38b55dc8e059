#pragma once

#include "core/windows/WindowInfo.h"

#include <functional>
#include <map>
#include <vector>

namespace fenwold {

// The window list and selection shared by the switcher, the Dock peek and snap assist. Every
// change notifies the observers (main thread only).
class SwitcherModel {
public:
    using Observer = std::function<void()>;

    const std::vector<WindowInfo>& windows() const { return windows_; }
    int selected() const { return selected_; }
    // The selected window, when the selection is inside the list.
    const WindowInfo* selectedWindow() const;

    void setWindows(std::vector<WindowInfo> windows);
    void setSelected(int index);
    // Give a window its preview; ignored for an id no longer listed or the very same image.
    void setThumb(uint32_t windowID, const QImage& image);
    // Drop a window whose capture came back blank; false when it is not listed.
    bool removeBlank(uint32_t windowID);
    // Remove the window at index, or every window of pid, keeping the selection inside the list.
    void removeAt(int index);
    void removeAllOf(int32_t pid);
    void markMinimized(int index);

    // Observe changes; returns a key for `unobserve`.
    int observe(Observer observer);
    void unobserve(int key);

private:
    void changed();
    void clampSelection();

    std::vector<WindowInfo> windows_;
    int selected_ = 0;
    std::map<int, Observer> observers_;
    int nextKey_ = 1;
};

} // namespace fenwold

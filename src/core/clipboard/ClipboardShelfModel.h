#pragma once

#include "ClipboardEntry.h"
#include "ports/Subscription.h"

#include <QUuid>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

class ClipboardStore;

// Which clips the shelf shows; the raw value is also the chip label.
enum class ClipboardFilter { all, pinned, text, image, link, code };

inline constexpr ClipboardFilter allClipboardFilters[] = {ClipboardFilter::all,  ClipboardFilter::pinned,
                                                          ClipboardFilter::text, ClipboardFilter::image,
                                                          ClipboardFilter::link, ClipboardFilter::code};
QString rawValue(ClipboardFilter filter);
bool admits(ClipboardFilter filter, const ClipboardEntry& entry);

// The view state of the open shelf: search text, filter, selection, search focus, inspector.
// It derives the visible clips from the store and keeps the selection among them.
class ClipboardShelfModel {
public:
    explicit ClipboardShelfModel(ClipboardStore& store);
    ClipboardShelfModel(const ClipboardShelfModel&) = delete;
    ClipboardShelfModel& operator=(const ClipboardShelfModel&) = delete;

    const QString& query() const { return query_; }
    ClipboardFilter filter() const { return filter_; }
    const std::optional<QUuid>& selectedID() const { return selectedID_; }
    bool searchFocused() const { return searchFocused_; }
    bool inspecting() const { return inspecting_; }
    ClipboardStore& store() const { return *store_; }

    void setQuery(const QString& query);
    void setFilter(ClipboardFilter filter);
    void setSelectedID(std::optional<QUuid> id);
    void setSearchFocused(bool focused);
    void setInspecting(bool inspecting);

    // The store's clips that pass the filter and match every search term, newest first.
    std::vector<const ClipboardEntry*> visible() const;
    // The selected visible clip, else the first visible one.
    const ClipboardEntry* selected() const;
    // Point the selection at a visible clip (none when nothing is visible).
    void reconcileSelection();
    // Move the selection by delta places, clamped at both ends.
    void move(int delta);

    // Called after every change of the model's own state (main thread).
    Subscription observe(std::function<void()> changed);

private:
    void changed();

    ClipboardStore* store_;
    QString query_;
    ClipboardFilter filter_ = ClipboardFilter::all;
    std::optional<QUuid> selectedID_;
    bool searchFocused_ = false;
    bool inspecting_ = false;
    ObserverList observers_;
};

} // namespace fenwold

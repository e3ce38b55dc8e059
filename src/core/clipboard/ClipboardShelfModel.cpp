#include "ClipboardShelfModel.h"

#include "ClipboardStore.h"

#include <QRegularExpression>
#include <algorithm>

namespace fenwold {

QString rawValue(ClipboardFilter filter) {
    switch (filter) {
    case ClipboardFilter::all:
        return QStringLiteral("All");
    case ClipboardFilter::pinned:
        return QStringLiteral("Pinned");
    case ClipboardFilter::text:
        return QStringLiteral("Text");
    case ClipboardFilter::image:
        return QStringLiteral("Images");
    case ClipboardFilter::link:
        return QStringLiteral("Links");
    case ClipboardFilter::code:
        return QStringLiteral("Code");
    }
    return {};
}

bool admits(ClipboardFilter filter, const ClipboardEntry& entry) {
    switch (filter) {
    case ClipboardFilter::all:
        return true;
    case ClipboardFilter::pinned:
        return entry.pinned;
    case ClipboardFilter::text:
        return entry.kind() == ClipKind::text;
    case ClipboardFilter::image:
        return entry.kind() == ClipKind::image;
    case ClipboardFilter::link:
        return entry.kind() == ClipKind::link;
    case ClipboardFilter::code:
        return entry.kind() == ClipKind::code;
    }
    return false;
}

ClipboardShelfModel::ClipboardShelfModel(ClipboardStore& store) : store_(&store) {}

void ClipboardShelfModel::setQuery(const QString& query) {
    if (query == query_) return;
    query_ = query;
    changed();
}

void ClipboardShelfModel::setFilter(ClipboardFilter filter) {
    if (filter == filter_) return;
    filter_ = filter;
    changed();
}

void ClipboardShelfModel::setSelectedID(std::optional<QUuid> id) {
    if (id == selectedID_) return;
    selectedID_ = id;
    changed();
}

void ClipboardShelfModel::setSearchFocused(bool focused) {
    if (focused == searchFocused_) return;
    searchFocused_ = focused;
    changed();
}

void ClipboardShelfModel::setInspecting(bool inspecting) {
    if (inspecting == inspecting_) return;
    inspecting_ = inspecting;
    changed();
}

std::vector<const ClipboardEntry*> ClipboardShelfModel::visible() const {
    // Terms are folded once per call; a clip's text is searched through `textContains`, which
    // looks at an ASCII text in place and at the folded copy the clip keeps otherwise.
    std::vector<std::string> terms;
    for (const QString& piece : query_.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        terms.push_back(foldForSearch(piece));
    if (terms.empty()) {
        std::vector<const ClipboardEntry*> all;
        for (const auto& entry : store_->entries())
            if (admits(filter_, entry)) all.push_back(&entry);
        return all;
    }
    std::string kindNames[4];
    for (ClipKind kind : {ClipKind::text, ClipKind::image, ClipKind::link, ClipKind::code})
        kindNames[static_cast<int>(kind)] = foldForSearch(displayName(kind));

    std::vector<const ClipboardEntry*> result;
    for (const auto& entry : store_->entries()) {
        if (!admits(filter_, entry)) continue;
        const std::string& kindName = kindNames[static_cast<int>(entry.kind())];
        const bool matches = std::all_of(terms.begin(), terms.end(), [&](const std::string& term) {
            return foldedContains(entry.foldedSource(), term) || foldedContains(kindName, term) ||
                   entry.textContains(term);
        });
        if (matches) result.push_back(&entry);
    }
    return result;
}

const ClipboardEntry* ClipboardShelfModel::selected() const {
    const auto list = visible();
    if (list.empty()) return nullptr;
    if (selectedID_) {
        const auto it =
            std::find_if(list.begin(), list.end(), [&](const auto* e) { return e->id() == *selectedID_; });
        if (it != list.end()) return *it;
    }
    return list.front();
}

void ClipboardShelfModel::reconcileSelection() {
    const ClipboardEntry* entry = selected();
    setSelectedID(entry ? std::optional<QUuid>(entry->id()) : std::nullopt);
}

void ClipboardShelfModel::move(int delta) {
    const auto list = visible();
    if (list.empty()) {
        setSelectedID(std::nullopt);
        return;
    }
    std::ptrdiff_t index = 0;
    if (selectedID_) {
        const auto it =
            std::find_if(list.begin(), list.end(), [&](const auto* e) { return e->id() == *selectedID_; });
        if (it != list.end()) index = it - list.begin();
    }
    const auto target =
        std::clamp<std::ptrdiff_t>(index + delta, 0, static_cast<std::ptrdiff_t>(list.size()) - 1);
    setSelectedID(list[static_cast<std::size_t>(target)]->id());
    setSearchFocused(false);
}

Subscription ClipboardShelfModel::observe(std::function<void()> changedHandler) {
    return observers_.add(std::move(changedHandler));
}

void ClipboardShelfModel::changed() {
    observers_.notify();
}

} // namespace fenwold

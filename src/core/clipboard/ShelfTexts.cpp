#include "ShelfTexts.h"

#include <algorithm>
#include <cmath>

namespace fenwold::ShelfTexts {

QString age(double copiedAt, double now) {
    const double minutes = std::trunc((now - copiedAt) / 60);
    // Also "Just now" for a time in the future and for no time at all (NaN).
    if (!(minutes >= 1)) return QStringLiteral("Just now");
    // A capture time from a pins file may lie any distance in the past: clamp before converting,
    // since a double beyond the integer's range does not convert. The largest double below 2^63.
    constexpr double largest = 9223372036854774784.0;
    const auto m = static_cast<long long>(std::min(minutes, largest));
    if (m < 60) return QStringLiteral("%1m ago").arg(m);
    if (m < 1440) return QStringLiteral("%1h ago").arg(m / 60);
    return QStringLiteral("%1d ago").arg(m / 1440);
}

QString clipCount(std::size_t count) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("clip")
                                                             : QStringLiteral("clips"));
}

std::optional<QString> shortcutBadge(std::size_t index) {
    if (index >= 9) return std::nullopt;
    return QStringLiteral("⌘%1").arg(index + 1);
}

QString kindSymbol(ClipKind kind) {
    switch (kind) {
    case ClipKind::text:
        return QStringLiteral("text.alignleft");
    case ClipKind::image:
        return QStringLiteral("photo");
    case ClipKind::link:
        return QStringLiteral("link");
    case ClipKind::code:
        return QStringLiteral("chevron.left.forwardslash.chevron.right");
    }
    return {};
}

QString pinHelp(bool pinned) {
    return pinned ? QStringLiteral("Unpin clip") : QStringLiteral("Pin clip for later");
}

QString accessibilityLabel(const ClipboardEntry& entry) {
    return displayName(entry.kind()) + QStringLiteral(", ") + entry.title() + QStringLiteral(", from ") +
           entry.saved.source;
}

QString inspectorCaption(const ClipboardEntry& entry) {
    if (entry.dimensions()) return *entry.dimensions();
    // An image whose size cannot be read says nothing rather than counting characters.
    if (entry.kind() == ClipKind::image) return {};
    return QStringLiteral("%1 characters").arg(characterCount(entry.text()));
}

EmptyState emptyState(const QString& query, ClipboardFilter filter, bool winV) {
    const QString copyHint = QStringLiteral("Text, images, links, and code. Copy something to get started.");
    if (!query.isEmpty())
        return {QStringLiteral("magnifyingglass"), QStringLiteral("No matching clips"),
                QStringLiteral("Try another word or a different content type.")};
    switch (filter) {
    case ClipboardFilter::pinned:
        return {QStringLiteral("pin"), QStringLiteral("Keep the useful things close"),
                QStringLiteral("Pin a clip to keep it here, even after a restart.")};
    case ClipboardFilter::all:
        return {QStringLiteral("clipboard"),
                winV ? QStringLiteral("Your next copy lands here")
                     : QStringLiteral("A little space for everything you copy"),
                copyHint};
    default:
        return {QStringLiteral("clipboard"), QStringLiteral("No %1 yet").arg(rawValue(filter).toLower()),
                copyHint};
    }
}

Status status(bool paused, bool winV) {
    if (paused) return {QStringLiteral("pause.circle"), QStringLiteral("Capture paused")};
    if (winV) return {QStringLiteral("lock"), QStringLiteral("Only on this Mac")};
    return {QStringLiteral("lock"), QStringLiteral("Capture off")};
}

std::vector<MenuItem> contextMenu(const ClipboardEntry& entry) {
    std::vector<MenuItem> items{{QStringLiteral("Paste"), CardAction::paste}};
    if (entry.kind() != ClipKind::image)
        items.push_back({QStringLiteral("Paste as plain text"), CardAction::pastePlain});
    items.push_back({QStringLiteral("Copy"), CardAction::copy});
    items.push_back({QStringLiteral("Preview"), CardAction::preview});
    items.push_back(
        {entry.pinned ? QStringLiteral("Unpin") : QStringLiteral("Pin for later"), CardAction::togglePin});
    items.push_back({QStringLiteral("Remove from history"), CardAction::remove});
    return items;
}

} // namespace fenwold::ShelfTexts

#pragma once

#include "ClipboardEntry.h"
#include "ClipboardShelfModel.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fenwold {

// The words and symbols the shelf's views show, chosen from plain values so they can be checked
// without drawing anything. Symbol names are the platform's symbol names.
namespace ShelfTexts {

// "Just now", "5m ago", "3h ago", "2d ago" from the whole minutes since the copy.
QString age(double copiedAt, double now);
// "1 clip", "7 clips".
QString clipCount(std::size_t count);
// "⌘1" … "⌘9" for the first nine cards.
std::optional<QString> shortcutBadge(std::size_t index);
QString kindSymbol(ClipKind kind);
QString pinHelp(bool pinned);
// "Code, <title>, from <source>".
QString accessibilityLabel(const ClipboardEntry& entry);
// The image's dimensions (nothing for an image without a readable size), else "<n> characters".
QString inspectorCaption(const ClipboardEntry& entry);

struct EmptyState {
    QString symbol;
    QString title;
    QString detail;
};
EmptyState emptyState(const QString& query, ClipboardFilter filter, bool winV);

struct Status {
    QString symbol;
    QString text;
};
// The footer's status when there is no message.
Status status(bool paused, bool winV);

enum class CardAction { paste, pastePlain, copy, preview, togglePin, remove };
struct MenuItem {
    QString title;
    CardAction action;
};
// The card's context menu, in order.
std::vector<MenuItem> contextMenu(const ClipboardEntry& entry);

inline const QString pasteHelp =
    QStringLiteral("Return pastes. Shift+Return pastes plain text. Command+Return copies.");

} // namespace ShelfTexts

} // namespace fenwold

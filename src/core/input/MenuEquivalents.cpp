#include "MenuEquivalents.h"

#include "core/hints/HintHUD.h"
#include "core/input/Inject.h"
#include "core/input/ShortcutLayout.h"
#include "core/windows/AccessibilityTimeouts.h"
#include "ports/KeyCodes.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"
#include "ports/Workspace.h"

#include <vector>

namespace fenwold {

namespace {

// The bits of `AXMenuItemModifiers` (AXAttributeConstants.h): Command is held unless told not.
constexpr int64_t kAXShift = 1 << 0, kAXOption = 1 << 1, kAXControl = 1 << 2, kAXNoCommand = 1 << 3;
// The menu bar, its menus, their items and three levels of submenus.
constexpr int kMaxDepth = 8;

QString characterText(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// The path to an item as the hint shows it: each word a word, not a keycap.
QString menuPathHint(const QStringList& path) {
    QStringList words;
    for (const QString& title : path) {
        if (!words.isEmpty()) words << QStringLiteral("~›");
        for (const QString& word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            words << QLatin1Char('~') + word;
    }
    return words.join(QLatin1Char(' '));
}

} // namespace

struct MenuEquivalents::Walk {
    MenuChord chord;
    int visited = 0;
    bool unanswered = false;
    std::vector<AXElement> path; // from the menu bar's item down to the one found
};

MenuEquivalents::MenuEquivalents(Accessibility& accessibility, Workspace& workspace, MainQueue& mainQueue,
                                 const Inject& inject, HintHUD* hints, Log& log, const ShortcutLayout* layout)
    : ax_(&accessibility), workspace_(&workspace), mainQueue_(&mainQueue), inject_(&inject), hints_(hints),
      log_(&log), layout_(layout) {}

std::optional<MenuChord> MenuEquivalents::chordOf(const AXValue& character, const AXValue& modifiers) {
    const auto text = character.asString();
    if (!text) return std::nullopt;
    const auto units = text->toUcs4();
    if (units.size() != 1) return std::nullopt;
    char32_t c = static_cast<char32_t>(units.front());
    // Menus name a letter in upper case whether or not Shift is part of the shortcut.
    if (c <= 0xFFFF) c = QChar(static_cast<char16_t>(c)).toLower().unicode();
    const auto bits = static_cast<int64_t>(modifiers.asNumber().value_or(0));
    uint64_t flags = (bits & kAXNoCommand) ? 0 : flag::command;
    if (bits & kAXShift) flags |= flag::shift;
    if (bits & kAXOption) flags |= flag::option;
    if (bits & kAXControl) flags |= flag::control;
    return MenuChord{c, flags};
}

QString MenuEquivalents::describe(MenuChord chord) {
    QString text;
    if (chord.flags & flag::control) text += QChar(0x2303);
    if (chord.flags & flag::option) text += QChar(0x2325);
    if (chord.flags & flag::shift) text += QChar(0x21E7);
    if (chord.flags & flag::command) text += QChar(0x2318);
    return text + characterText(chord.character).toUpper();
}

bool MenuEquivalents::find(Walk& walk, const AXElement& element, int depth) {
    const AXValue children = ax_->attribute(element, QStringLiteral("AXChildren"));
    if (children.errorCode() == axerr::cannotComplete) {
        walk.unanswered = true;
        return true;
    }
    const auto list = children.asElements();
    if (!list) return false;
    for (const AXElement& child : *list) {
        if (++walk.visited > kMaxElements) return false;
        ax_->setMessagingTimeout(child, kMenuTimeout);
        const AXValue character = ax_->attribute(child, QStringLiteral("AXMenuItemCmdChar"));
        if (character.errorCode() == axerr::cannotComplete) {
            walk.unanswered = true;
            return true;
        }
        walk.path.push_back(child);
        if (character.asString() && !character.asString()->isEmpty()) {
            // An item with a key equivalent opens no submenu.
            const auto chord =
                chordOf(character, ax_->attribute(child, QStringLiteral("AXMenuItemCmdModifiers")));
            if (chord == walk.chord) return true;
        } else if (depth < kMaxDepth && find(walk, child, depth + 1)) {
            return true;
        }
        walk.path.pop_back();
    }
    return false;
}

MenuEquivalents::Result MenuEquivalents::press(int32_t pid, MenuChord chord) {
    if (chord.character <= 0xFFFF)
        chord.character = QChar(static_cast<char16_t>(chord.character)).toLower().unicode();
    const AXElement app = ax_->application(pid);
    ax_->setMessagingTimeout(app, kMenuTimeout);
    const AXValue bar = ax_->attribute(app, QStringLiteral("AXMenuBar"));
    if (bar.errorCode() == axerr::cannotComplete) return {Outcome::unanswered, {}};
    const auto barElement = bar.asElement();
    if (!barElement || barElement->isNull()) return {Outcome::missing, {}};
    ax_->setMessagingTimeout(*barElement, kMenuTimeout);
    Walk walk{chord, 0, false, {}};
    const bool found = find(walk, *barElement, 1);
    if (walk.unanswered) return {Outcome::unanswered, {}};
    if (!found) return {Outcome::missing, {}};

    Result result{Outcome::pressed, {}};
    for (const AXElement& e : walk.path)
        if (const auto title = ax_->attribute(e, QStringLiteral("AXTitle")).asString();
            title && !title->isEmpty())
            result.path << *title;
    const AXElement& item = walk.path.back();
    if (ax_->attribute(item, QStringLiteral("AXEnabled")).asBool() == false) {
        result.outcome = Outcome::unavailable;
        return result;
    }
    // A press that answers an error may still have acted (an item that opens a modal window
    // answers late): it is never followed by the key as typed, which could do it twice.
    if (const int32_t error = ax_->performAction(item, QStringLiteral("AXPress")); error != axerr::success)
        log_->line(QStringLiteral("Fenwold: pressing %1 answered the Accessibility error %2")
                       .arg(result.path.join(QStringLiteral(" › ")))
                       .arg(error));
    return result;
}

void MenuEquivalents::perform(Request request) {
    mainQueue_->post([this, request = std::move(request)] { performNow(request); });
}

void MenuEquivalents::performNow(const Request& request) {
    const Result result = press(request.pid, request.chord);
    if (result.outcome == Outcome::pressed) {
        if (hints_) hints_->show(request.keys, menuPathHint(result.path));
        return;
    }
    const auto app = workspace_->app(request.pid);
    const QString name = app && app->name ? *app->name : QStringLiteral("the application");
    const QString shortcut = describe(request.chord);
    if (result.outcome == Outcome::unavailable) {
        log_->line(QStringLiteral("Fenwold: %1: %2’s menu item for %3 (%4) is unavailable now")
                       .arg(request.keys, name, shortcut, result.path.join(QStringLiteral(" › "))));
        return;
    }
    const QString layout = layout_ ? layout_->table().sourceID() : QStringLiteral("in use");
    const QString why = result.outcome == Outcome::unanswered ? QStringLiteral("did not answer in time")
                                                              : QStringLiteral("has no menu item for it");
    log_->line(QStringLiteral("Fenwold: %1: no key of the keyboard layout %2 types %3, and %4 %5 — %6")
                   .arg(request.keys, layout, shortcut, name, why,
                        request.passKey ? QStringLiteral("the key went on as typed")
                                        : QStringLiteral("nothing was done")));
    if (request.passKey) inject_->post(request.key, request.keyFlags, request.pid);
}

} // namespace fenwold

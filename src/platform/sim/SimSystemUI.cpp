#include "SimSystemUI.h"

#include "ports/KeyCodes.h"

#include <algorithm>

namespace fenwold {

SimSystemUI::SimSystemUI(SimAccessibility& ax, SimWorkspace& workspace, SimWindows& windows,
                         SimKeySender& keys)
    : ax_(ax), workspace_(workspace), windows_(windows) {
    keys.onSession = [this](const PostedKey& key) { sessionKey(key); };
    windows_.onAppleMenu = [this](const QString& title) { appleMenuItem(title); };
}

int32_t SimSystemUI::startControlCentre() {
    if (controlCentre_) return controlCentre_;
    controlCentre_ = workspace_.launch(QString::fromLatin1(kControlCentreID),
                                       QStringLiteral("Control Centre"), ActivationPolicy::accessory);
    auto extra = [this](const char* identifier, const char* description, Panel opens) {
        AXElement item = ax_.create(controlCentre_);
        ax_.set(item, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXMenuBarItem")));
        ax_.set(item, QStringLiteral("AXIdentifier"), AXValue::of(QString::fromLatin1(identifier)));
        ax_.set(item, QStringLiteral("AXDescription"), AXValue::of(QString::fromLatin1(description)));
        ax_.onAction(item, QStringLiteral("AXPress"), [this, opens] {
            // A second press closes what the first opened.
            show(panel() == opens ? Panel::none : opens);
            return axerr::success;
        });
        return item;
    };
    AXElement bar = ax_.create(controlCentre_);
    ax_.set(bar, QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXMenuBar")));
    ax_.set(bar, QStringLiteral("AXChildren"),
            AXValue::of(std::vector<AXElement>{
                extra("com.apple.menuextra.controlcenter", "Control Centre", Panel::controlCentre),
                extra("com.apple.menuextra.clock", "Clock", Panel::notificationCentre)}));
    ax_.set(ax_.application(controlCentre_), QStringLiteral("AXExtrasMenuBar"), AXValue::of(bar));
    return controlCentre_;
}

SimSystemUI::Panel SimSystemUI::panel() const {
    std::lock_guard lock(mutex_);
    return panel_;
}

QString SimSystemUI::confirmation() const {
    std::lock_guard lock(mutex_);
    return panel_ == Panel::confirmation ? confirmation_ : QString();
}

void SimSystemUI::show(Panel panel, const QString& confirmation) {
    std::lock_guard lock(mutex_);
    panel_ = panel;
    confirmation_ = confirmation;
    static const char* names[] = {"none",       "spotlight", "control centre", "notification centre",
                                  "force quit", "asked "};
    if (panel != Panel::none) journal_ << QString::fromLatin1(names[static_cast<int>(panel)]) + confirmation;
}

void SimSystemUI::dismiss() {
    show(Panel::none);
}

void SimSystemUI::confirm() {
    std::lock_guard lock(mutex_);
    if (panel_ != Panel::confirmation) return;
    journal_ << confirmation_.toLower();
    panel_ = Panel::none;
}

void SimSystemUI::note(const QString& line) {
    std::lock_guard lock(mutex_);
    journal_ << line;
}

void SimSystemUI::sessionKey(const PostedKey& key) {
    if (!key.keyDown) return;
    const uint64_t mods = key.flags & flag::chord;
    if (key.keyCode == kSpace && mods == flag::command) {
        show(panel() == Panel::spotlight ? Panel::none : Panel::spotlight);
    } else if ((key.keyCode == kLeft || key.keyCode == kRight) && mods == flag::control) {
        // The Space beside the current one; none past the first or the last.
        const std::vector<int> spaces = windows_.spaces();
        auto at = std::find(spaces.begin(), spaces.end(), windows_.currentSpace());
        if (at == spaces.end()) return;
        if (key.keyCode == kRight && at + 1 != spaces.end())
            ++at;
        else if (key.keyCode == kLeft && at != spaces.begin())
            --at;
        else
            return;
        windows_.switchToSpace(*at);
        note(QStringLiteral("space %1").arg(*at));
    } else if (key.keyCode == kEsc && mods == (flag::option | flag::command)) {
        show(Panel::forceQuit);
    } else if (key.keyCode == kEsc && mods == 0) {
        dismiss();
    }
}

bool SimSystemUI::appleMenuKey(uint16_t keyCode, uint64_t flags, char16_t letter) {
    const uint64_t mods = flags & flag::chord;
    if (keyCode == kEsc && mods == (flag::option | flag::command)) {
        show(Panel::forceQuit);
        return true;
    }
    if (letter == u'q' && mods == (flag::shift | flag::command)) {
        show(Panel::confirmation, QStringLiteral("Log Out"));
        return true;
    }
    if (letter == u'q' && mods == (flag::control | flag::command)) {
        note(QStringLiteral("locked"));
        return true;
    }
    return false;
}

void SimSystemUI::appleMenuItem(const QString& title) {
    if (title == QStringLiteral("Sleep"))
        note(QStringLiteral("sleep"));
    else if (title == QStringLiteral("Lock Screen"))
        note(QStringLiteral("locked"));
    else if (title == QStringLiteral("Force Quit…"))
        show(Panel::forceQuit);
    else if (title == QStringLiteral("Restart…"))
        show(Panel::confirmation, QStringLiteral("Restart"));
    else if (title == QStringLiteral("Shut Down…"))
        show(Panel::confirmation, QStringLiteral("Shut Down"));
    else if (title.startsWith(QStringLiteral("Log Out")))
        show(Panel::confirmation, QStringLiteral("Log Out"));
}

QStringList SimSystemUI::journal() const {
    std::lock_guard lock(mutex_);
    return journal_;
}

} // namespace fenwold

#include "ClipboardShelfController.h"

#include "ClipboardStore.h"
#include "core/input/Inject.h"
#include "ports/KeyCodes.h"
#include "ports/MainQueue.h"
#include "ports/Pasteboard.h"
#include "ports/Screens.h"

#include <algorithm>

namespace fenwold {

namespace {

constexpr double kMaxWidth = 1060;
constexpr double kHeight = 354;
constexpr double kInspectorHeight = 624;
constexpr double kMargin = 32;
constexpr double kBottomGap = 16;

bool hasControlCharacter(const QString& characters) {
    return std::any_of(characters.begin(), characters.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    });
}

} // namespace

void InjectPaste::paste(int32_t pid) {
    inject_->post(kV, flag::command, pid);
}

ClipboardShelfController::ClipboardShelfController(ClipboardStore& store, ShelfServices services,
                                                   const PanelFactory& makePanel)
    : store_(&store), services_(services), model_(store) {
    ShelfViewContext context;
    context.model = &model_;
    context.store = store_;
    context.prefs = services_.prefs;
    const std::weak_ptr<int> alive = lifetime_;
    context.use = [this, alive](const ClipboardEntry& clip, bool plain, bool copyOnly) {
        if (alive.lock()) use(clip, plain, copyOnly);
    };
    context.dismiss = [this, alive] {
        if (alive.lock()) hide();
    };
    context.inspect = [this, alive] {
        if (alive.lock()) toggleInspector();
    };
    context.registerSearch = [this, alive](ShelfSearchField* field) {
        if (alive.lock()) searchField_ = field;
    };
    panel_ = makePanel(context);
}

ClipboardShelfController::~ClipboardShelfController() = default;

bool ClipboardShelfController::reduceMotion() const {
    return services_.screens->reduceMotion();
}

Rect ClipboardShelfController::frame() const {
    const Rect& visible = screenFrame_;
    const double width = std::min(visible.width - kMargin, kMaxWidth);
    const double height =
        std::min(visible.height - kMargin, model_.inspecting() ? kInspectorHeight : kHeight);
    return {visible.x + (visible.width - width) / 2, visible.y + kBottomGap, width, height};
}

void ClipboardShelfController::show() {
    if (isOpen_) return;
    store_->poll();
    if (onOpen) onOpen();

    target_ = services_.workspace->frontmostApp();
    if (target_ && target_->pid == services_.workspace->ownPid()) target_.reset();

    const auto screens = services_.screens->screens();
    const Point pointer = services_.screens->pointerLocation();
    auto screen = std::find_if(screens.begin(), screens.end(),
                               [&](const auto& s) { return s.frame.contains(pointer); });
    if (screen == screens.end()) {
        const int main = services_.screens->mainScreenIndex();
        if (main < 0 || main >= static_cast<int>(screens.size())) return;
        screen = screens.begin() + main;
    }
    screenFrame_ = screen->visibleFrame;
    const uint64_t presentation = ++presentation_;
    isOpen_ = true;

    model_.setQuery(QString());
    model_.setFilter(ClipboardFilter::all);
    model_.setInspecting(false);
    model_.setSearchFocused(false);
    model_.setSelectedID(std::nullopt);
    model_.reconcileSelection(); // the newest clip

    const Rect target = frame();
    const bool still = reduceMotion();
    panel_->place(still ? target : target.offsetBy(0, -slide), 0);
    panel_->makeKeyAndOrderFront();
    panel_->clearFirstResponder();

    // The search field must not take focus by itself once the views settle.
    services_.mainQueue->post([this, presentation, alive = std::weak_ptr<int>(lifetime_)] {
        if (!alive.lock() || !isOpen_ || presentation_ != presentation) return;
        model_.setSearchFocused(false);
        panel_->clearFirstResponder();
    });
    if (onVisibilityChange) onVisibilityChange(true);
    panel_->animate(target, 1, still ? 0 : openSeconds, true, [] {});

    const std::weak_ptr<int> alive = lifetime_;
    keyMonitor_ = panel_->monitorKeys([this, alive](const ShelfKeyEvent& event) {
        if (!alive.lock() || !isOpen_ || !panel_->isKeyWindow()) return false;
        return handle(event);
    });
    clickMonitor_ = panel_->monitorClicks([this, alive](bool inPanel) {
        if (alive.lock() && !inPanel) hide();
    });
    activationObserver_ = services_.workspace->observe([this, alive](const WorkspaceEvent& event) {
        if (!alive.lock()) return;
        if (event.kind == WorkspaceEvent::Kind::activated && event.pid != services_.workspace->ownPid())
            hide();
    });
}

void ClipboardShelfController::hide() {
    if (!isOpen_) return;
    isOpen_ = false;
    if (onVisibilityChange) onVisibilityChange(false);
    keyMonitor_.reset();
    clickMonitor_.reset();
    activationObserver_.reset();

    const uint64_t presentation = presentation_;
    panel_->resignKey();
    const bool still = reduceMotion();
    const Rect current = frame();
    panel_->animate(still ? current : current.offsetBy(0, -slide), 0, still ? 0 : closeSeconds, false,
                    [this, presentation, alive = std::weak_ptr<int>(lifetime_)] {
                        // Re-opening during the animation keeps the panel on screen.
                        if (alive.lock() && presentation_ == presentation && !isOpen_) panel_->orderOut();
                    });
}

void ClipboardShelfController::use(const ClipboardEntry& clip, bool plain, bool copyOnly) {
    const bool plainText = plain && clip.kind() != ClipKind::image;
    store_->bumpGeneration();
    Pasteboard& pasteboard = store_->pasteboard();
    if (!clip.saved.payload.write(pasteboard, plainText)) {
        store_->setMessage(copyFailedMessage);
        return;
    }
    store_->setLastChange(pasteboard.changeCount());

    const std::optional<RunningApp> target = target_;
    hide();
    if (copyOnly || !target) return;
    Workspace& workspace = *services_.workspace;
    if (!workspace.app(target->pid)) return; // terminated
    const auto front = workspace.frontmostApp();
    if (front && front->pid == workspace.ownPid()) workspace.activate(target->pid);

    services_.mainQueue->after(pasteDelay, [this, pid = target->pid, presentation = presentation_,
                                            alive = std::weak_ptr<int>(lifetime_)] {
        if (!alive.lock() || presentation_ != presentation || isOpen_) return;
        Workspace& ws = *services_.workspace;
        const auto frontNow = ws.frontmostApp();
        if (!ws.app(pid) || !frontNow || frontNow->pid != pid) return; // the clip stays on the pasteboard
        services_.paste->paste(pid);
    });
}

void ClipboardShelfController::toggleInspector() {
    if (!model_.selected()) return;
    model_.setInspecting(!model_.inspecting());
    panel_->place(frame(), 1);
}

void ClipboardShelfController::focusSearch(const std::optional<ShelfKeyEvent>& event) {
    if (!searchField_) return;
    searchField_->focus(!event);
    model_.setSearchFocused(true);
    if (event) searchField_->deliver(*event);
}

bool ClipboardShelfController::handle(const ShelfKeyEvent& event) {
    const uint64_t mods = event.flags & flag::chord;
    const Prefs prefs(*services_.prefs);
    const uint64_t primary = prefs.swapCtrlCmd() ? flag::control : flag::command;
    const bool editing = panel_->editingText() && model_.searchFocused();
    const bool commandOrControl = mods == flag::command || mods == flag::control;
    const uint16_t key = event.keyCode;

    if (key == kV && mods == primary && prefs.winV()) {
        if (!event.isRepeat) hide();
        return true;
    }
    if ((key == kA || key == kX || key == kC || key == kV) && mods == flag::control && editing) {
        if (searchField_) {
            searchField_->perform(key == kA   ? SearchEdit::selectAll
                                  : key == kX ? SearchEdit::cut
                                  : key == kC ? SearchEdit::copy
                                              : SearchEdit::paste);
        }
        return true;
    }
    if (key == kEsc) {
        if (model_.inspecting()) {
            toggleInspector();
        } else if (!model_.query().isEmpty()) {
            model_.setQuery(QString());
            model_.setSearchFocused(false);
        } else {
            hide();
        }
        return true;
    }
    if (key == kReturn || key == kKeypadEnter) {
        if (const ClipboardEntry* clip = model_.selected()) {
            const ClipboardEntry chosen = *clip;
            use(chosen, (mods & flag::shift) != 0, (mods & flag::command) != 0);
        }
        return true;
    }
    if (key == kDown || key == kUp) {
        model_.move(key == kDown ? 1 : -1);
        return true;
    }
    if ((key == kRight || key == kLeft) && !editing && mods == 0) {
        model_.move(key == kRight ? 1 : -1);
        return true;
    }
    if ((key == kSpace || event.characters == QLatin1String(" ")) && !editing && mods == 0) {
        toggleInspector();
        return true;
    }
    if (key == kF && commandOrControl) {
        focusSearch(std::nullopt);
        return true;
    }
    if (key == kP && commandOrControl && model_.selected()) {
        store_->togglePin(model_.selected()->id());
        return true;
    }
    if (key == kC && commandOrControl && !editing && model_.selected()) {
        const ClipboardEntry chosen = *model_.selected();
        use(chosen, false, true);
        return true;
    }
    if (commandOrControl) {
        if (const auto digit = digitOfKey(key)) {
            const auto n = static_cast<std::size_t>(*digit - 1);
            const auto list = model_.visible();
            if (n < list.size()) {
                const ClipboardEntry chosen = *list[n];
                use(chosen, false, false);
                return true;
            }
        }
    }
    if (editing || (mods & (flag::control | flag::option | flag::command)) != 0) return false;
    if (event.characters.isEmpty() || hasControlCharacter(event.characters) || key == kTab ||
        key == kDelete || key == kFwdDelete || key == kLeft || key == kRight)
        return false;
    focusSearch(event);
    return true;
}

} // namespace fenwold

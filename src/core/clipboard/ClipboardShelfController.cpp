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

// One key as the shelf's rows read it, worked out once.
struct ClipboardShelfController::ShelfPress {
    const ShelfKeyEvent& event;
    uint16_t key = 0;
    uint64_t mods = 0; // the chord's modifiers
    bool commandOrControl = false;
    // The search field has the keyboard and a search is being typed in it.
    bool editing = false;
    // Nothing is typed in the search field.
    bool emptySearch = false;
    // The chord that opened the shelf, while its row is on: Win+V closes the shelf again.
    bool openingChord = false;
};

namespace {

// What a row of the shelf's keys answers: the shelf took the key, lets it pass to the focused
// view, or leaves it to the following rows.
enum class ShelfAnswer { take, pass, next };

} // namespace

// One row of the shelf's keys: when it applies and what it does.
struct ClipboardShelfController::ShelfKeyRow {
    bool (*when)(const ShelfPress&);
    ShelfAnswer (*does)(ClipboardShelfController&, const ShelfPress&);
};

namespace {

using C = ClipboardShelfController&;
using ShelfAnswer::next, ShelfAnswer::pass, ShelfAnswer::take;

} // namespace

// Tried in this order; the first row that applies and answers decides.
const ClipboardShelfController::ShelfKeyRow ClipboardShelfController::kShelfKeys[] = {
    // Win+V again closes the shelf, once for a held key.
    {[](const ShelfPress& k) { return k.key == kV && k.openingChord; },
     [](C c, const ShelfPress& k) {
         if (!k.event.isRepeat) c.hide();
         return take;
     }},
    // Ctrl+A, X, C and V edit the search being typed.
    {[](const ShelfPress& k) {
         return (k.key == kA || k.key == kX || k.key == kC || k.key == kV) && k.mods == flag::control &&
                k.editing;
     },
     [](C c, const ShelfPress& k) {
         if (c.searchField_) {
             c.searchField_->perform(k.key == kA   ? SearchEdit::selectAll
                                     : k.key == kX ? SearchEdit::cut
                                     : k.key == kC ? SearchEdit::copy
                                                   : SearchEdit::paste);
         }
         return take;
     }},
    // Esc closes the inspector, else clears the search, else closes the shelf.
    {[](const ShelfPress& k) { return k.key == kEsc; },
     [](C c, const ShelfPress&) {
         if (c.model_.inspecting()) {
             c.toggleInspector();
         } else if (!c.model_.query().isEmpty()) {
             c.model_.setQuery(QString());
             c.model_.setSearchFocused(false);
         } else {
             c.hide();
         }
         return take;
     }},
    // Return pastes the selected clip: as plain text with Shift, only copied with Command.
    {[](const ShelfPress& k) { return k.key == kReturn || k.key == kKeypadEnter; },
     [](C c, const ShelfPress& k) {
         if (const ClipboardEntry* clip = c.model_.selected()) {
             const ClipboardEntry chosen = *clip;
             c.use(chosen, (k.mods & flag::shift) != 0, (k.mods & flag::command) != 0);
         }
         return take;
     }},
    // The arrows move the selection; left and right move the search's cursor while it is typed. In
    // an empty field there is no text to move through (a search typed and cleared leaves the field
    // focused): they move the selection, as before anything was typed.
    {[](const ShelfPress& k) { return k.key == kDown || k.key == kUp; },
     [](C c, const ShelfPress& k) {
         c.model_.move(k.key == kDown ? 1 : -1);
         return take;
     }},
    {[](const ShelfPress& k) {
         return (k.key == kRight || k.key == kLeft) && (!k.editing || k.emptySearch) && k.mods == 0;
     },
     [](C c, const ShelfPress& k) {
         c.model_.move(k.key == kRight ? 1 : -1);
         return take;
     }},
    // Space shows the selected clip in the inspector, or hides it.
    {[](const ShelfPress& k) {
         return (k.key == kSpace || k.event.characters == QLatin1String(" ")) && !k.editing && k.mods == 0;
     },
     [](C c, const ShelfPress&) {
         c.toggleInspector();
         return take;
     }},
    // ⌘F searches, ⌘P pins the selected clip, ⌘C copies it, ⌘1…9 paste the visible clips.
    {[](const ShelfPress& k) { return k.key == kF && k.commandOrControl; },
     [](C c, const ShelfPress&) {
         c.focusSearch(std::nullopt);
         return take;
     }},
    {[](const ShelfPress& k) { return k.key == kP && k.commandOrControl; },
     [](C c, const ShelfPress&) {
         if (!c.model_.selected()) return next;
         c.store_->togglePin(c.model_.selected()->id());
         return take;
     }},
    {[](const ShelfPress& k) { return k.key == kC && k.commandOrControl && !k.editing; },
     [](C c, const ShelfPress&) {
         if (!c.model_.selected()) return next;
         const ClipboardEntry chosen = *c.model_.selected();
         c.use(chosen, false, true);
         return take;
     }},
    {[](const ShelfPress& k) { return k.commandOrControl && digitOfKey(k.key).has_value(); },
     [](C c, const ShelfPress& k) {
         const auto n = static_cast<std::size_t>(*digitOfKey(k.key) - 1);
         const auto list = c.model_.visible();
         if (n >= list.size()) return next;
         const ClipboardEntry chosen = *list[n];
         c.use(chosen, false, false);
         return take;
     }},
    // Other chords, and every key while the search is typed, are the focused view's.
    {[](const ShelfPress& k) {
         return k.editing || (k.mods & (flag::control | flag::option | flag::command)) != 0;
     },
     [](C, const ShelfPress&) { return pass; }},
    // So are the keys that type nothing, and the ones that move within a field.
    {[](const ShelfPress& k) {
         return k.event.characters.isEmpty() || hasControlCharacter(k.event.characters) || k.key == kTab ||
                k.key == kDelete || k.key == kFwdDelete || k.key == kLeft || k.key == kRight;
     },
     [](C, const ShelfPress&) { return pass; }},
    // Anything else typed starts a search with it.
    {[](const ShelfPress&) { return true; },
     [](C c, const ShelfPress& k) {
         c.focusSearch(k.event);
         return take;
     }},
};

bool ClipboardShelfController::handle(const ShelfKeyEvent& event) {
    const Prefs prefs(*services_.prefs);
    const uint64_t mods = event.flags & flag::chord;
    const uint64_t primary = prefs.swapCtrlCmd() ? flag::control : flag::command;
    const ShelfPress press{event,
                           event.keyCode,
                           mods,
                           mods == flag::command || mods == flag::control,
                           panel_->editingText() && model_.searchFocused(),
                           model_.query().isEmpty(),
                           mods == primary && prefs.winV()};
    for (const ShelfKeyRow& row : kShelfKeys) {
        if (!row.when(press)) continue;
        switch (row.does(*this, press)) {
        case ShelfAnswer::next:
            continue;
        case ShelfAnswer::take:
            return true;
        case ShelfAnswer::pass:
            return false;
        }
    }
    return false;
}

} // namespace fenwold

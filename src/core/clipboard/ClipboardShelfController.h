#pragma once

#include "ClipboardShelfModel.h"
#include "ShelfPanel.h"
#include "core/settings/Prefs.h"
#include "ports/Workspace.h"

#include <memory>
#include <optional>

namespace fenwold {

class ClipboardStore;
class MainQueue;
class Screens;
class Inject;

// What the shelf's views are given: the model, the store and the controller's callbacks.
struct ShelfViewContext {
    ClipboardShelfModel* model = nullptr;
    ClipboardStore* store = nullptr;
    PrefsStore* prefs = nullptr; // the views read winV
    std::function<void(const ClipboardEntry& clip, bool plain, bool copyOnly)> use;
    std::function<void()> dismiss;
    std::function<void()> inspect;
    std::function<void(ShelfSearchField*)> registerSearch;
};

struct ShelfServices {
    MainQueue* mainQueue = nullptr;
    Workspace* workspace = nullptr;
    Screens* screens = nullptr;
    PasteKeystroke* paste = nullptr;
    PrefsStore* prefs = nullptr;
};

// Owns the shelf panel: opens and closes it, remembers the application to paste into, turns
// keys into shelf actions and pastes a chosen clip back. Main thread only.
class ClipboardShelfController {
public:
    static constexpr double openSeconds = 0.2;
    static constexpr double closeSeconds = 0.14;
    static constexpr double slide = 32;
    static constexpr double pasteDelay = 0.06;
    static inline const QString copyFailedMessage =
        QStringLiteral("This clip couldn’t be copied. Try copying it again from its source.");

    using PanelFactory = std::function<std::unique_ptr<ShelfPanel>(const ShelfViewContext&)>;
    ClipboardShelfController(ClipboardStore& store, ShelfServices services, const PanelFactory& makePanel);
    ~ClipboardShelfController();
    ClipboardShelfController(const ClipboardShelfController&) = delete;
    ClipboardShelfController& operator=(const ClipboardShelfController&) = delete;

    void show();
    void hide();
    void toggle() { isOpen_ ? hide() : show(); }
    void use(const ClipboardEntry& clip, bool plain, bool copyOnly);
    void toggleInspector();
    void focusSearch(const std::optional<ShelfKeyEvent>& event);
    // The panel's frame on the current screen, taller while the inspector is shown.
    Rect frame() const;
    // One key while open; true when the shelf used it.
    bool handle(const ShelfKeyEvent& event);

    bool isOpen() const { return isOpen_; }
    uint64_t presentation() const { return presentation_; }
    const std::optional<RunningApp>& target() const { return target_; }
    ClipboardShelfModel& model() { return model_; }
    ShelfPanel& panel() { return *panel_; }

    std::function<void(bool)> onVisibilityChange;
    std::function<void()> onOpen;

private:
    // The shelf's keys, in the style of the key-down table: one key as the rows read it, and the
    // rows, tried in order (ClipboardShelfController.cpp).
    struct ShelfPress;
    struct ShelfKeyRow;
    static const ShelfKeyRow kShelfKeys[];

    bool reduceMotion() const;

    ClipboardStore* store_;
    ShelfServices services_;
    ClipboardShelfModel model_;
    std::unique_ptr<ShelfPanel> panel_;
    ShelfSearchField* searchField_ = nullptr; // owned by the panel's views
    Subscription keyMonitor_;
    Subscription clickMonitor_;
    Subscription activationObserver_;
    std::optional<RunningApp> target_;
    Rect screenFrame_;
    uint64_t presentation_ = 0;
    bool isOpen_ = false;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

// Command+V through the program's own key injection: a key-down and key-up with only the
// Command flag, marked so the event tap lets them pass.
class InjectPaste final : public PasteKeystroke {
public:
    explicit InjectPaste(const Inject& inject) : inject_(&inject) {}
    void paste(int32_t pid) override;

private:
    const Inject* inject_;
};

} // namespace fenwold

#pragma once

#include "core/clipboard/ClipboardShelfController.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/input/Inject.h"
#include "core/shell/CommandLine.h"
#include "ports/FloatingPanel.h"
#include "ports/Platform.h"

#include <QTemporaryDir>
#include <memory>

namespace fenwold {

class PanelHost;

// The start-up variant that shows the clipboard shelf with sample clips: a store of its own with
// capture off and pins in a throwaway folder, and a shelf controller over it that stays for the
// whole run. Re-opening the application shows the shelf again.
class ClipboardPreview {
public:
    ClipboardPreview(Platform& platform, const StartupOptions& options,
                     FloatingPanelFactory nativePanels = {});
    ~ClipboardPreview();
    void show() { shelf_->show(); }
    ClipboardShelfController& shelf() { return *shelf_; }
    ClipboardStore& store() { return *store_; }

private:
    std::unique_ptr<PanelHost> panels_;
    QTemporaryDir pinsFolder_;
    std::unique_ptr<ClipboardStore> store_;
    std::unique_ptr<Inject> inject_;
    std::unique_ptr<InjectPaste> paste_;
    std::unique_ptr<ClipboardShelfController> shelf_;
    Subscription reopen_;
};

} // namespace fenwold

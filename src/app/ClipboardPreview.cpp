#include "ClipboardPreview.h"

#include "core/clipboard/PinsFile.h"
#include "core/shell/AppIdentifier.h"
#include "core/shell/PanelStyles.h"
#include "ports/AppShell.h"
#include "ports/Log.h"
#include "ports/Screens.h"
#include "selfcheck/ClipboardSamples.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/common/PanelHost.h"

#include <QGuiApplication>
#include <QPalette>

namespace fenwold {

namespace {

bool darkAppearance(const StartupOptions& options) {
    if (options.clipboardDark) return true;
    if (options.clipboardLight) return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

} // namespace

ClipboardPreview::ClipboardPreview(Platform& platform, const StartupOptions& options,
                                   FloatingPanelFactory nativePanels)
    : panels_(std::make_unique<DesktopPanelHost>(std::move(nativePanels), platform)) {
    std::optional<QString> pins;
    if (pinsFolder_.isValid()) pins = pinsFolder_.filePath(PinsFile::relativePath);
    Workspace* workspace = platform.workspace;
    store_ = std::make_unique<ClipboardStore>(
        pins, *platform.pasteboard, [] { return false; },
        ClipboardStoreServices{platform.mainQueue, platform.clipboardQueue,
                               [workspace] { return workspace->frontmostApp(); }, platform.clock,
                               appIdentifier()});
    insertSampleClips(*store_, platform.clock->now());

    inject_ = std::make_unique<Inject>(*platform.keySender, *workspace, *platform.log);
    paste_ = std::make_unique<InjectPaste>(*inject_);
    const ShelfStyle style{darkAppearance(options), platform.screens->reduceTransparency(),
                           platform.screens->reduceMotion()};
    Screens* screens = platform.screens;
    WallClock* clock = platform.clock;
    shelf_ = std::make_unique<ClipboardShelfController>(
        *store_, ShelfServices{platform.mainQueue, workspace, screens, paste_.get(), platform.prefs},
        [this, style, clock, screens](const ShelfViewContext& context) {
            return std::make_unique<QtShelfPanel>(
                context, style, [clock] { return clock->now(); }, *panels_,
                panelstyles::shelf(screens->reduceTransparency()));
        });
    reopen_ = platform.appShell->observeReopen([this] { shelf_->show(); });
    if (platform.log)
        platform.log->line(QStringLiteral("Fenwold: showing the clipboard shelf with sample clips"));
}

ClipboardPreview::~ClipboardPreview() = default;

} // namespace fenwold

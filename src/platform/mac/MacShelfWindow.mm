#include "MacShelfWindow.h"

#include <QPointer>
#include <QWindow>

#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

// A borderless panel only becomes key when it says it can; it never becomes main.
@interface FenwoldShelfPanel : NSPanel
@end

@implementation FenwoldShelfPanel
- (BOOL)canBecomeKeyWindow {
    return YES;
}
- (BOOL)canBecomeMainWindow {
    return NO;
}
@end

namespace fenwold {

namespace {

NSRect toNSRect(const Rect &frame) { return NSMakeRect(frame.x, frame.y, frame.width, frame.height); }

} // namespace

struct MacShelfWindow::Native {
    FenwoldShelfPanel *panel = nil;
    QWindow *container = nullptr;
    QPointer<QWindow> content;
};

MacShelfWindow::MacShelfWindow(QWindow *content) : native_(std::make_unique<Native>()) {
    // The non-activating style must be given at creation; setting it later does not take.
    FenwoldShelfPanel *panel = [[FenwoldShelfPanel alloc]
        initWithContentRect:NSZeroRect
                  styleMask:NSWindowStyleMaskBorderless | NSWindowStyleMaskNonactivatingPanel
                    backing:NSBackingStoreBuffered
                      defer:NO];
    panel.level = NSPopUpMenuWindowLevel; // 101
    panel.backgroundColor = NSColor.clearColor;
    panel.opaque = NO;
    panel.hasShadow = YES;
    panel.hidesOnDeactivate = NO;
    panel.releasedWhenClosed = NO;
    panel.floatingPanel = YES;
    panel.becomesKeyOnlyIfNeeded = NO;
    panel.collectionBehavior = NSWindowCollectionBehaviorCanJoinAllSpaces |
                               NSWindowCollectionBehaviorTransient | NSWindowCollectionBehaviorIgnoresCycle |
                               NSWindowCollectionBehaviorFullScreenAuxiliary; // 0x149
    panel.accessibilityTitle = @"Clipboard shelf";
    native_->panel = panel;

    // Qt draws into the panel's content view through a foreign window that parents the content.
    native_->container = QWindow::fromWinId(reinterpret_cast<WId>(panel.contentView));
    native_->content = content;
    content->setParent(native_->container);
    content->show();
}

MacShelfWindow::~MacShelfWindow() {
    [native_->panel orderOut:nil];
    // The content belongs to its widget: take it out of the container before the container goes.
    if (native_->content)
        native_->content->setParent(nullptr);
    delete native_->container;
    native_->panel = nil;
}

void MacShelfWindow::place(const Rect &frame, double alpha) {
    [native_->panel setFrame:toNSRect(frame) display:YES];
    native_->panel.alphaValue = alpha;
}

void MacShelfWindow::animate(const Rect &frame, double alpha, double seconds, bool easeOut,
                             std::function<void()> completion) {
    FenwoldShelfPanel *panel = native_->panel;
    CAMediaTimingFunctionName curve = easeOut ? kCAMediaTimingFunctionEaseOut : kCAMediaTimingFunctionEaseIn;
    auto done = std::make_shared<std::function<void()>>(std::move(completion));
    [NSAnimationContext
        runAnimationGroup:^(NSAnimationContext *context) {
          context.duration = seconds;
          context.timingFunction = [CAMediaTimingFunction functionWithName:curve];
          [[panel animator] setFrame:toNSRect(frame) display:YES];
          [[panel animator] setAlphaValue:alpha];
        }
        completionHandler:^{
          (*done)();
        }];
}

void MacShelfWindow::makeKeyAndOrderFront() { [native_->panel makeKeyAndOrderFront:nil]; }

void MacShelfWindow::resignKey() { [native_->panel resignKeyWindow]; }

void MacShelfWindow::orderOut() { [native_->panel orderOut:nil]; }

bool MacShelfWindow::isKeyWindow() const { return native_->panel.isKeyWindow; }

void MacShelfWindow::clearFirstResponder() { [native_->panel makeFirstResponder:nil]; }

Subscription MacShelfWindow::monitorClicks(std::function<void(bool)> handler) {
    FenwoldShelfPanel *panel = native_->panel;
    auto shared = std::make_shared<std::function<void(bool)>>(std::move(handler));
    const NSEventMask mask = NSEventMaskLeftMouseDown | NSEventMaskRightMouseDown;
    id global = [NSEvent addGlobalMonitorForEventsMatchingMask:mask
                                                       handler:^(NSEvent *) {
                                                         (*shared)(false);
                                                       }];
    id local = [NSEvent addLocalMonitorForEventsMatchingMask:mask
                                                     handler:^NSEvent *(NSEvent *event) {
                                                       (*shared)(event.window == panel);
                                                       return event;
                                                     }];
    // Without Accessibility trust the global monitor is not made (nil), and removeMonitor: takes
    // only a real one.
    return Subscription([global, local] {
        if (global)
            [NSEvent removeMonitor:global];
        if (local)
            [NSEvent removeMonitor:local];
    });
}

} // namespace fenwold

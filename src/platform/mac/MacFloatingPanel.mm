#include "MacFloatingPanel.h"

#include "EventMonitors.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

// A borderless panel becomes key only when it says it can, and never becomes main.
@interface FenwoldPanel : NSPanel
@property(nonatomic) BOOL takesKeys;
@end

@implementation FenwoldPanel
- (BOOL)canBecomeKeyWindow {
    return self.takesKeys;
}
- (BOOL)canBecomeMainWindow {
    return NO;
}
@end

namespace fenwold {

namespace {

NSRect toNSRect(const Rect& frame) { return NSMakeRect(frame.x, frame.y, frame.width, frame.height); }

NSVisualEffectMaterial materialOf(PanelMaterial material) {
    switch (material) {
    case PanelMaterial::hudWindow:
        return NSVisualEffectMaterialHUDWindow;
    case PanelMaterial::popover:
        return NSVisualEffectMaterialPopover;
    case PanelMaterial::windowBackground:
        break;
    }
    return NSVisualEffectMaterialWindowBackground;
}

// The smallest rounded rectangle that stretches to any size: the corners stay, the middle grows.
NSImage* roundedMask(double radius) {
    const CGFloat edge = radius * 2 + 1;
    NSImage* mask = [NSImage imageWithSize:NSMakeSize(edge, edge)
                                   flipped:NO
                            drawingHandler:^BOOL(NSRect bounds) {
                              [NSColor.blackColor set];
                              [[NSBezierPath bezierPathWithRoundedRect:bounds xRadius:radius
                                                               yRadius:radius] fill];
                              return YES;
                            }];
    mask.capInsets = NSEdgeInsetsMake(radius, radius, radius, radius);
    mask.resizingMode = NSImageResizingModeStretch;
    return mask;
}

} // namespace

struct MacFloatingPanel::Native {
    FenwoldPanel* panel = nil;
    NSView* contentView = nil; // the Qt widget's own view, the top level Qt sees
    QPointer<QWidget> content;
    Rect frame; // the last set or animated to
};

MacFloatingPanel::MacFloatingPanel(QWidget& content, const PanelStyle& style)
    : native_(std::make_unique<Native>()) {
    FenwoldPanel* panel = [[FenwoldPanel alloc]
        initWithContentRect:NSZeroRect
                  styleMask:NSWindowStyleMaskBorderless | NSWindowStyleMaskNonactivatingPanel
                    backing:NSBackingStoreBuffered
                      defer:NO];
    panel.takesKeys = style.takesKeys;
    // Making a panel floating resets its level to the floating level: the level comes after.
    panel.floatingPanel = YES;
    panel.level = style.level;
    panel.collectionBehavior = static_cast<NSWindowCollectionBehavior>(style.collectionBehavior);
    panel.backgroundColor = NSColor.clearColor;
    panel.opaque = NO;
    panel.hasShadow = YES;
    panel.hidesOnDeactivate = NO;
    panel.releasedWhenClosed = NO;
    panel.becomesKeyOnlyIfNeeded = NO;
    panel.ignoresMouseEvents = style.ignoresMouse;
    panel.acceptsMouseMovedEvents = style.acceptsMouseMoved;
    panel.accessibilityTitle = style.accessibilityTitle.toNSString();

    // The content view is the material; being the content view, its mask also shapes the shadow.
    NSVisualEffectView* material = [[NSVisualEffectView alloc] initWithFrame:NSZeroRect];
    material.material = materialOf(style.material);
    material.blendingMode = NSVisualEffectBlendingModeBehindWindow;
    material.state = NSVisualEffectStateActive;
    material.maskImage = roundedMask(style.cornerRadius);
    panel.contentView = material;
    native_->panel = panel;

    // A window that takes no keys refuses first responder in Qt's view (its acceptsFirstResponder
    // asks shouldRefuseKeyWindowAndFirstResponder), so neither a click nor an explicit request
    // makes it Qt's focus window. Set before the view exists: later flags recreate the window.
    content.setWindowFlag(Qt::WindowDoesNotAcceptFocus, !style.takesKeys);
    // The widget's own top-level window, its view placed in the material: Qt's embedded mode
    // (QCocoaWindow::isEmbedded: no Qt parent, a window that is not Qt's). Keys and activation go
    // to -[QNSView topLevelWindow], which is then the widget's own window.
    native_->content = &content;
    native_->contentView = (__bridge NSView*)reinterpret_cast<void*>(content.winId());
    native_->contentView.autoresizingMask = NSViewWidthSizable | NSViewHeightSizable;
    [material addSubview:native_->contentView];
    content.show();
}

MacFloatingPanel::~MacFloatingPanel() {
    [native_->panel orderOut:nil];
    // The widget outlives the panel. Hidden first: a visible Qt window taken out of its native
    // parent would be made a top-level window of its own and shown.
    if (native_->content)
        native_->content->hide();
    [native_->contentView removeFromSuperview];
    native_->panel = nil;
}

void MacFloatingPanel::setFrame(const Rect& frame) {
    native_->frame = frame;
    [native_->panel setFrame:toNSRect(frame) display:YES];
    native_->content->setGeometry(0, 0, qRound(frame.width), qRound(frame.height));
}

Rect MacFloatingPanel::frame() const { return native_->frame; }

Rect MacFloatingPanel::currentFrame() const {
    // The animator moves the window itself, so its frame is where it is now.
    const NSRect f = native_->panel.frame;
    return {f.origin.x, f.origin.y, f.size.width, f.size.height};
}

int64_t MacFloatingPanel::windowNumber() const { return native_->panel.windowNumber; }

void MacFloatingPanel::setAlpha(double alpha) { native_->panel.alphaValue = alpha; }

double MacFloatingPanel::alpha() const { return native_->panel.alphaValue; }

void MacFloatingPanel::animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                               std::function<void()> completion) {
    native_->frame = frame;
    FenwoldPanel* panel = native_->panel;
    QPointer<QWidget> content = native_->content;
    CAMediaTimingFunctionName curve = easeOut ? kCAMediaTimingFunctionEaseOut : kCAMediaTimingFunctionEaseIn;
    auto done = std::make_shared<std::function<void()>>(std::move(completion));
    [NSAnimationContext
        runAnimationGroup:^(NSAnimationContext* context) {
          context.duration = seconds;
          context.timingFunction = [CAMediaTimingFunction functionWithName:curve];
          [[panel animator] setFrame:toNSRect(frame) display:YES];
          [[panel animator] setAlphaValue:alpha];
        }
        completionHandler:^{
          // The view followed the frame as it changed; this settles it on the final size.
          if (content)
              content->setGeometry(0, 0, qRound(frame.width), qRound(frame.height));
          if (*done)
              (*done)();
        }];
}

void MacFloatingPanel::orderFront() {
    // To the front whichever application is active. Then, as Qt activates its own windows
    // (QCocoaWindow::requestActivateWindow), Qt's view first responder and the panel key: when it
    // becomes key, QCocoaWindow::windowDidBecomeKey finds the view first responder and makes the
    // widget's window Qt's focus window. A panel whose style takes no keys can be neither: its
    // view refuses first responder and the panel cannot become key.
    [native_->panel orderFrontRegardless];
    [native_->panel makeFirstResponder:native_->contentView];
    [native_->panel makeKeyWindow];
}

void MacFloatingPanel::orderOut() { [native_->panel orderOut:nil]; }

bool MacFloatingPanel::isVisible() const { return native_->panel.visible; }

bool MacFloatingPanel::isKeyWindow() const { return native_->panel.keyWindow; }

namespace {

// The program's top-level widget whose view lies in this window: a panel's content (its view is
// in the panel), a menu Qt opened, a regular window. Null for a window that is not Qt's.
QWidget* qtWidgetIn(NSWindow* window) {
    if (!window)
        return nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        // Only widgets that have their view already: asking winId() would make one.
        const WId id = top->internalWinId();
        if (id && ((__bridge NSView*)reinterpret_cast<void*>(id)).window == window)
            return top;
    }
    return nullptr;
}

} // namespace

Subscription MacFloatingPanel::monitorClicks(std::function<void(QWidget*)> handler) {
    // Only where the click landed: whether that is this panel or a menu opened from it is
    // decided by the code every platform shares. A global monitor sees only other applications'
    // clicks, which land in none of the program's windows.
    return monitorEvents(NSEventMaskLeftMouseDown | NSEventMaskRightMouseDown,
                         [handler = std::move(handler)](NSEvent* event, bool local) {
                             handler(local ? qtWidgetIn(event.window) : nullptr);
                         });
}

} // namespace fenwold

#include "MacStatusItem.h"

#import <AppKit/AppKit.h>

// Forwards the button's clicks and the menu's choices to C++.
@interface FenwoldStatusTarget : NSObject
@property(nonatomic, copy) void (^onClick)(BOOL right, NSInteger clickCount);
@property(nonatomic, copy) void (^onChoose)(NSInteger tag);
- (void)clicked:(id)sender;
- (void)chose:(NSMenuItem*)item;
@end

@implementation FenwoldStatusTarget
- (void)clicked:(id)sender {
    NSEvent* event = NSApp.currentEvent;
    if (event && self.onClick)
        self.onClick(event.type == NSEventTypeRightMouseUp, event.clickCount);
}
- (void)chose:(NSMenuItem*)item {
    if (self.onChoose)
        self.onChoose(item.tag);
}
@end

namespace fenwold {

namespace {

// An 18×18 point template image: a bar over a letter W, drawn with the origin at the bottom left.
NSImage* statusImage() {
    NSImage* image = [NSImage imageWithSize:NSMakeSize(18, 18)
                                    flipped:NO
                             drawingHandler:^BOOL(NSRect) {
                               NSAffineTransform* lift = [NSAffineTransform transform];
                               [lift translateXBy:0 yBy:0.7];
                               [lift concat];
                               [NSColor.blackColor set];
                               [[NSBezierPath bezierPathWithRoundedRect:NSMakeRect(4.3, 14.1, 9.4, 1.8)
                                                                xRadius:0.9
                                                                yRadius:0.9] fill];
                               NSBezierPath* letter = [NSBezierPath bezierPath];
                               [letter moveToPoint:NSMakePoint(2.9, 11.2)];
                               [letter lineToPoint:NSMakePoint(6.0, 2.2)];
                               [letter lineToPoint:NSMakePoint(9.0, 9.9)];
                               [letter lineToPoint:NSMakePoint(12.0, 2.2)];
                               [letter lineToPoint:NSMakePoint(15.1, 11.2)];
                               letter.lineWidth = 2.7;
                               letter.lineCapStyle = NSLineCapStyleRound;
                               letter.lineJoinStyle = NSLineJoinStyleRound;
                               [letter stroke];
                               return YES;
                             }];
    [image setTemplate:YES];
    return image;
}

NSStatusItem* statusItem(void* item) { return (__bridge NSStatusItem*)item; }
FenwoldStatusTarget* statusTarget(void* target) { return (__bridge FenwoldStatusTarget*)target; }

} // namespace

MacStatusItem::MacStatusItem() { target_ = (void*)CFBridgingRetain([[FenwoldStatusTarget alloc] init]); }

MacStatusItem::~MacStatusItem() {
    if (item_) {
        [NSStatusBar.systemStatusBar removeStatusItem:statusItem(item_)];
        CFRelease(item_);
    }
    CFRelease(target_);
}

void MacStatusItem::install(std::function<void(Button, int)> onClick) {
    NSStatusItem* item = [NSStatusBar.systemStatusBar statusItemWithLength:NSVariableStatusItemLength];
    __block std::function<void(Button, int)> block = std::move(onClick);
    statusTarget(target_).onClick = ^(BOOL right, NSInteger clicks) {
      block(right ? Button::right : Button::left, static_cast<int>(clicks));
    };
    item.button.image = statusImage();
    item.button.target = statusTarget(target_);
    item.button.action = @selector(clicked:);
    [item.button sendActionOn:NSEventMaskLeftMouseUp | NSEventMaskRightMouseUp];
    item_ = (void*)CFBridgingRetain(item);
}

void MacStatusItem::setIconOpacity(double opacity) { statusItem(item_).button.alphaValue = opacity; }

void MacStatusItem::popMenu(const std::vector<StatusMenuItem>& items,
                            std::function<void(StatusAction)> chosen) {
    if (!item_)
        return;
    NSMenu* menu = [[NSMenu alloc] init];
    // Items are enabled as the program says, not by what their target answers.
    menu.autoenablesItems = NO;
    std::vector<std::optional<StatusAction>> actions;
    for (const StatusMenuItem& entry : items) {
        if (entry.isSeparator()) {
            [menu addItem:NSMenuItem.separatorItem];
            continue;
        }
        NSMenuItem* menuItem = [[NSMenuItem alloc] initWithTitle:entry.title.toNSString()
                                                          action:@selector(chose:)
                                                   keyEquivalent:entry.keyEquivalent.toNSString()];
        menuItem.target = statusTarget(target_);
        menuItem.tag = static_cast<NSInteger>(actions.size());
        menuItem.enabled = entry.enabled && entry.action.has_value();
        menuItem.state = entry.checked ? NSControlStateValueOn : NSControlStateValueOff;
        actions.push_back(entry.action);
        [menu addItem:menuItem];
    }
    __block std::function<void(StatusAction)> choose = std::move(chosen);
    __block std::vector<std::optional<StatusAction>> byTag = actions;
    statusTarget(target_).onChoose = ^(NSInteger tag) {
      if (tag >= 0 && static_cast<size_t>(tag) < byTag.size() && byTag[static_cast<size_t>(tag)])
          choose(*byTag[static_cast<size_t>(tag)]);
    };
    // Attached only while open: the click tracks the menu until it closes.
    statusItem(item_).menu = menu;
    [statusItem(item_).button performClick:nil];
    statusItem(item_).menu = nil;
}

} // namespace fenwold

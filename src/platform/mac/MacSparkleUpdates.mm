#include "MacSparkleUpdates.h"

#import <AppKit/AppKit.h>
#import <Sparkle/Sparkle.h>

// An accessory application has no Dock icon to click: whenever the framework is about to show an
// update, the application comes to the front so the window does not open behind another one. A
// scheduled update found while the program is not in front is not shown then (gentle reminders):
// it waits in the status menu until the user asks for it.
@interface FenwoldUpdateReminders : NSObject <SPUStandardUserDriverDelegate>
@property(nonatomic, copy) BOOL (^inFront)(void);
@property(nonatomic, copy) void (^waiting)(BOOL);
@end

@implementation FenwoldUpdateReminders
- (BOOL)supportsGentleScheduledUpdateReminders {
    return YES;
}
- (BOOL)standardUserDriverShouldHandleShowingScheduledUpdate:(SUAppcastItem*)update
                                         andInImmediateFocus:(BOOL)immediateFocus {
    return self.inFront();
}
- (void)standardUserDriverWillHandleShowingUpdate:(BOOL)handleShowingUpdate
                                        forUpdate:(SUAppcastItem*)update
                                            state:(SPUUserUpdateState*)state {
    // The framework shows it: to the front. The program is to: the status menu says so.
    if (handleShowingUpdate)
        [NSApp activate];
    else
        self.waiting(YES);
}
- (void)standardUserDriverDidReceiveUserAttentionForUpdate:(SUAppcastItem*)update {
    self.waiting(NO);
}
- (void)standardUserDriverWillFinishUpdateSession {
    self.waiting(NO);
}
@end

namespace fenwold {

struct MacSparkleUpdates::Native {
    // The controller keeps only a weak reference to its user-driver delegate.
    FenwoldUpdateReminders* reminders = [[FenwoldUpdateReminders alloc] init];
    SPUStandardUpdaterController* controller = nil;
};

MacSparkleUpdates::MacSparkleUpdates() : native_(std::make_unique<Native>()) {
    // Until the program says otherwise, every update is shown as the framework would.
    native_->reminders.inFront = ^BOOL {
      return YES;
    };
    native_->reminders.waiting = ^(BOOL) {
    };
}

MacSparkleUpdates::~MacSparkleUpdates() = default;

void MacSparkleUpdates::start() {
    native_->controller = [[SPUStandardUpdaterController alloc] initWithStartingUpdater:YES
                                                                        updaterDelegate:nil
                                                                     userDriverDelegate:native_->reminders];
}

bool MacSparkleUpdates::canCheckForUpdates() const { return native_->controller.updater.canCheckForUpdates; }

void MacSparkleUpdates::checkForUpdates() {
    // `activate` replaces activating while ignoring other applications, which has no effect
    // since macOS 14.
    [NSApp activate];
    [native_->controller checkForUpdates:nil];
}

void MacSparkleUpdates::remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) {
    __block std::function<bool()> front = std::move(inFront);
    __block std::function<void(bool)> notice = std::move(waiting);
    native_->reminders.inFront = ^BOOL {
      return front();
    };
    native_->reminders.waiting = ^(BOOL on) {
      notice(on);
    };
}

} // namespace fenwold

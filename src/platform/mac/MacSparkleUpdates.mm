#include "MacSparkleUpdates.h"

#import <AppKit/AppKit.h>
#import <Sparkle/Sparkle.h>

// An accessory application has no Dock icon to click: whenever the framework is about to show an
// update, the application comes to the front so the window does not open behind another one.
@interface FenwoldUpdateWindowsToFront : NSObject <SPUStandardUserDriverDelegate>
@end

@implementation FenwoldUpdateWindowsToFront
- (void)standardUserDriverWillHandleShowingUpdate:(BOOL)handleShowingUpdate
                                        forUpdate:(SUAppcastItem *)update
                                            state:(SPUUserUpdateState *)state {
    [NSApp activate];
}
@end

namespace fenwold {

struct MacSparkleUpdates::Native {
    // The controller keeps only a weak reference to its user-driver delegate.
    FenwoldUpdateWindowsToFront *toFront = [[FenwoldUpdateWindowsToFront alloc] init];
    SPUStandardUpdaterController *controller = nil;
};

MacSparkleUpdates::MacSparkleUpdates() : native_(std::make_unique<Native>()) {}

MacSparkleUpdates::~MacSparkleUpdates() = default;

void MacSparkleUpdates::start() {
    native_->controller = [[SPUStandardUpdaterController alloc] initWithStartingUpdater:YES
                                                                        updaterDelegate:nil
                                                                     userDriverDelegate:native_->toFront];
}

bool MacSparkleUpdates::canCheckForUpdates() const { return native_->controller.updater.canCheckForUpdates; }

void MacSparkleUpdates::checkForUpdates() {
    // `activate` replaces activating while ignoring other applications, which has no effect
    // since macOS 14.
    [NSApp activate];
    [native_->controller checkForUpdates:nil];
}

} // namespace fenwold

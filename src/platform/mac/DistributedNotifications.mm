#include "DistributedNotifications.h"

#import <Foundation/Foundation.h>

// Runs a block for each distributed notification it is registered for.
@interface FenwoldDistributedObserver : NSObject
@property(nonatomic, copy) void (^onNotification)(void);
- (void)notified:(NSNotification*)notification;
@end

@implementation FenwoldDistributedObserver
- (void)notified:(NSNotification*)notification {
    self.onNotification();
}
@end

namespace fenwold {

Subscription observeDistributedNotification(const QString& name, std::function<void()> handler) {
    FenwoldDistributedObserver* observer = [[FenwoldDistributedObserver alloc] init];
    __block std::function<void()> block = std::move(handler);
    observer.onNotification = ^{
      block();
    };
    // AppKit suspends distributed delivery while the application is inactive, which an accessory
    // application almost always is; the covers with blocks coalesce until it activates. Ask for
    // immediate delivery.
    NSDistributedNotificationCenter* center = NSDistributedNotificationCenter.defaultCenter;
    [center addObserver:observer
                  selector:@selector(notified:)
                      name:name.toNSString()
                    object:nil
        suspensionBehavior:NSNotificationSuspensionBehaviorDeliverImmediately];
    CFTypeRef retained = CFBridgingRetain(observer);
    return Subscription([retained] {
        [NSDistributedNotificationCenter.defaultCenter removeObserver:(__bridge id)retained];
        CFRelease(retained);
    });
}

} // namespace fenwold

#include "MacAppShell.h"

#import <AppKit/AppKit.h>
#import <CoreFoundation/CoreFoundation.h>
#import <ServiceManagement/ServiceManagement.h>
#include <os/log.h>

// Receives the "reopen application" Apple event (the user opened the running program again).
@interface FenwoldReopenHandler : NSObject
@property(nonatomic, copy) void (^onReopen)(void);
- (void)handleReopen:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply;
@end

@implementation FenwoldReopenHandler
- (void)handleReopen:(NSAppleEventDescriptor*)event withReplyEvent:(NSAppleEventDescriptor*)reply {
    if (self.onReopen)
        self.onReopen();
}
@end

// The content-type class's factory. The class lives in UniformTypeIdentifiers, which AppKit links
// and whose headers the Apple compile check does not carry: it is reached by name.
@protocol FenwoldContentTypes
+ (nullable id)typeWithIdentifier:(NSString*)identifier;
@end

namespace fenwold {

namespace {
// What a failed login-item call says; the error always carries a description, but guard a nil.
QString reason(NSError* error) {
    return error.localizedDescription ? QString::fromNSString(error.localizedDescription)
                                      : QStringLiteral("failed");
}

std::optional<QString> infoString(NSString* key) {
    id value = NSBundle.mainBundle.infoDictionary[key];
    return [value isKindOfClass:NSString.class] ? std::optional<QString>(QString::fromNSString(value))
                                                : std::nullopt;
}
} // namespace

MacAppShell::MacAppShell() : quit_([] { [NSApp terminate:nil]; }) {}

MacAppShell::~MacAppShell() {
    if (reopenTarget_)
        CFRelease(reopenTarget_);
}

void MacAppShell::setAccessoryPolicy() { [NSApp setActivationPolicy:NSApplicationActivationPolicyAccessory]; }

void MacAppShell::activateSelf() { [NSApp activate]; }

void MacAppShell::terminate() { quit_(); }

BundleInfo MacAppShell::bundle() const {
    return {QString::fromNSString(NSBundle.mainBundle.bundleIdentifier),
            infoString(@"CFBundleShortVersionString"), infoString(@"CFBundleVersion"),
            infoString(@"SUFeedURL")};
}

QString MacAppShell::systemVersion() const {
    const NSOperatingSystemVersion v = NSProcessInfo.processInfo.operatingSystemVersion;
    return QStringLiteral("%1.%2.%3").arg(v.majorVersion).arg(v.minorVersion).arg(v.patchVersion);
}

Subscription MacAppShell::observeReopen(std::function<void()> handler) {
    FenwoldReopenHandler* target = [[FenwoldReopenHandler alloc] init];
    __block std::function<void()> block = std::move(handler);
    target.onReopen = ^{
      block();
    };
    if (reopenTarget_)
        CFRelease(reopenTarget_);
    reopenTarget_ = (void*)CFBridgingRetain(target);
    void (^install)(void) = ^{
      [NSAppleEventManager.sharedAppleEventManager setEventHandler:target
                                                       andSelector:@selector(handleReopen:withReplyEvent:)
                                                     forEventClass:kCoreEventClass
                                                        andEventID:kAEReopenApplication];
    };
    // AppKit installs its own handler for this event while the application finishes launching,
    // over any installed before: install again at that point, which comes after AppKit's. Once
    // launched, the handler installed now stands.
    install();
    id launching =
        [NSNotificationCenter.defaultCenter addObserverForName:NSApplicationWillFinishLaunchingNotification
                                                        object:nil
                                                         queue:nil
                                                    usingBlock:^(NSNotification*) {
                                                      install();
                                                    }];
    return Subscription([launching] {
        [NSNotificationCenter.defaultCenter removeObserver:launching];
        [NSAppleEventManager.sharedAppleEventManager removeEventHandlerForEventClass:kCoreEventClass
                                                                          andEventID:kAEReopenApplication];
    });
}

void MacAppShell::chooseApplication(std::function<void(const QUrl&)> chosen) {
    NSOpenPanel* panel = [NSOpenPanel openPanel];
    panel.canChooseFiles = YES;
    panel.canChooseDirectories = NO;
    panel.allowsMultipleSelection = NO;
    panel.treatsFilePackagesAsDirectories = NO; // an application bundle is chosen as one item
    // Only application bundles can be chosen (UTTypeApplicationBundle's identifier).
    Class<FenwoldContentTypes> types = (Class<FenwoldContentTypes>)NSClassFromString(@"UTType");
    id applicationBundle = [types typeWithIdentifier:@"com.apple.application-bundle"];
    panel.allowedContentTypes = applicationBundle ? @[ applicationBundle ] : @[];
    panel.directoryURL = [NSURL fileURLWithPath:@"/Applications" isDirectory:YES];
    panel.prompt = @"Add";
    __block std::function<void(const QUrl&)> block = std::move(chosen);
    [panel beginWithCompletionHandler:^(NSModalResponse response) {
      block(response == NSModalResponseOK ? QUrl::fromNSURL(panel.URL) : QUrl());
    }];
}

LoginItems::Status MacLoginItems::status() const {
    switch (SMAppService.mainAppService.status) {
    case SMAppServiceStatusEnabled:
        return Status::enabled;
    case SMAppServiceStatusRequiresApproval:
        return Status::requiresApproval;
    case SMAppServiceStatusNotFound:
        return Status::notFound;
    case SMAppServiceStatusNotRegistered:
        break;
    }
    return Status::notRegistered;
}

std::optional<QString> MacLoginItems::registerItem() {
    NSError* error = nil;
    const BOOL ok = [SMAppService.mainAppService registerAndReturnError:&error];
    return ok ? std::nullopt : std::optional<QString>(reason(error));
}

std::optional<QString> MacLoginItems::unregisterItem() {
    NSError* error = nil;
    const BOOL ok = [SMAppService.mainAppService unregisterAndReturnError:&error];
    return ok ? std::nullopt : std::optional<QString>(reason(error));
}

void MacLog::line(const QString& text) {
    os_log_with_type(OS_LOG_DEFAULT, OS_LOG_TYPE_DEFAULT, "%{public}s", text.toUtf8().constData());
}

double MacClock::now() const { return CFAbsoluteTimeGetCurrent(); }

} // namespace fenwold

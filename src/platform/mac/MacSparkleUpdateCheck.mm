#include "MacSparkleUpdateCheck.h"

#include <QUrl>

#import <AppKit/AppKit.h>
#import <Sparkle/Sparkle.h>

namespace {

std::optional<QString> toOptional(NSString* text) {
    return text ? std::optional<QString>(QString::fromNSString(text)) : std::nullopt;
}

std::optional<QUrl> toOptional(NSURL* url) {
    return url ? std::optional<QUrl>(QUrl::fromNSURL(url)) : std::nullopt;
}

fenwold::AppcastItem toItem(SUAppcastItem* item) {
    return {QString::fromNSString(item.displayVersionString), QString::fromNSString(item.versionString),
            toOptional(item.minimumSystemVersion), toOptional(item.fileURL)};
}

// The error with its user information as text, sorted by key, the localized description (already
// carried as `description`) left out.
fenwold::UpdateError toError(NSError* error) {
    fenwold::UpdateError converted{QString::fromNSString(error.localizedDescription),
                                   QString::fromNSString(error.domain),
                                   static_cast<long>(error.code),
                                   {}};
    NSMutableDictionary<NSErrorUserInfoKey, id>* info = [error.userInfo mutableCopy];
    [info removeObjectForKey:NSLocalizedDescriptionKey];
    for (NSErrorUserInfoKey key in [info.allKeys sortedArrayUsingSelector:@selector(compare:)])
        converted.userInfo.emplace_back(QString::fromNSString(key),
                                        QString::fromNSString([info[key] description]));
    return converted;
}

} // namespace

// The updater's user driver and delegate in one: answers every question without a window and
// passes the updater's findings on to the observer.
@interface FenwoldQuietUpdateDriver : NSObject <SPUUserDriver, SPUUpdaterDelegate>
// Not owned; cleared when the check that set it is destroyed.
@property(nonatomic, assign) fenwold::UpdateCheckObserver* observer;
@end

@implementation FenwoldQuietUpdateDriver

// SPUUserDriver

- (void)showUpdatePermissionRequest:(SPUUpdatePermissionRequest*)request
                              reply:(void (^)(SUUpdatePermissionResponse*))reply {
    reply([[SUUpdatePermissionResponse alloc] initWithAutomaticUpdateChecks:YES sendSystemProfile:NO]);
}

- (void)showUserInitiatedUpdateCheckWithCancellation:(void (^)(void))cancellation {
}

- (void)showUpdateFoundWithAppcastItem:(SUAppcastItem*)appcastItem
                                 state:(SPUUserUpdateState*)state
                                 reply:(void (^)(SPUUserUpdateChoice))reply {
    reply(SPUUserUpdateChoiceDismiss);
}

- (void)showUpdateReleaseNotesWithDownloadData:(SPUDownloadData*)downloadData {
}

- (void)showUpdateReleaseNotesFailedToDownloadWithError:(NSError*)error {
}

- (void)showUpdateNotFoundWithError:(NSError*)error acknowledgement:(void (^)(void))acknowledgement {
    acknowledgement();
}

- (void)showUpdaterError:(NSError*)error acknowledgement:(void (^)(void))acknowledgement {
    acknowledgement();
}

- (void)showDownloadInitiatedWithCancellation:(void (^)(void))cancellation {
}

- (void)showDownloadDidReceiveExpectedContentLength:(uint64_t)expectedContentLength {
}

- (void)showDownloadDidReceiveDataOfLength:(uint64_t)length {
}

- (void)showDownloadDidStartExtractingUpdate {
}

- (void)showExtractionReceivedProgress:(double)progress {
}

- (void)showReadyToInstallAndRelaunch:(void (^)(SPUUserUpdateChoice))reply {
    reply(SPUUserUpdateChoiceDismiss);
}

- (void)showInstallingUpdateWithApplicationTerminated:(BOOL)applicationTerminated
                          retryTerminatingApplication:(void (^)(void))retryTerminatingApplication {
}

- (void)showUpdateInstalledAndRelaunched:(BOOL)relaunched acknowledgement:(void (^)(void))acknowledgement {
    acknowledgement();
}

- (void)showUpdateInFocus {
}

- (void)dismissUpdateInstallation {
}

// SPUUpdaterDelegate

- (void)updater:(SPUUpdater*)updater didFinishLoadingAppcast:(SUAppcast*)appcast {
    std::vector<fenwold::AppcastItem> items;
    for (SUAppcastItem* item in appcast.items)
        items.push_back(toItem(item));
    if (self.observer)
        self.observer->didFinishLoading(items);
}

- (void)updater:(SPUUpdater*)updater didFindValidUpdate:(SUAppcastItem*)item {
    if (self.observer)
        self.observer->didFindValidUpdate(toItem(item));
}

- (void)updaterDidNotFindUpdate:(SPUUpdater*)updater error:(NSError*)error {
    if (self.observer)
        self.observer->didNotFindUpdate(toError(error));
}

- (void)updater:(SPUUpdater*)updater didAbortWithError:(NSError*)error {
    if (self.observer)
        self.observer->didAbort(toError(error));
}

@end

namespace fenwold {

struct MacSparkleUpdateCheck::Native {
    // The updater holds its delegate weakly; this keeps driver and delegate alive with it.
    FenwoldQuietUpdateDriver* driver = [[FenwoldQuietUpdateDriver alloc] init];
    SPUUpdater* updater = nil;
};

MacSparkleUpdateCheck::MacSparkleUpdateCheck() : native_(std::make_unique<Native>()) {
    // The framework works with the application object; a diagnosis gets no Dock icon, menu bar or
    // windows.
    [NSApplication sharedApplication];
    [NSApp setActivationPolicy:NSApplicationActivationPolicyProhibited];
    NSBundle* bundle = NSBundle.mainBundle;
    native_->updater = [[SPUUpdater alloc] initWithHostBundle:bundle
                                            applicationBundle:bundle
                                                   userDriver:native_->driver
                                                     delegate:native_->driver];
}

MacSparkleUpdateCheck::~MacSparkleUpdateCheck() {
    // The updater may outlive this object inside the framework and still call the delegate.
    native_->driver.observer = nullptr;
}

std::optional<QString> MacSparkleUpdateCheck::start() {
    NSError* error = nil;
    const BOOL started = [native_->updater startUpdater:&error];
    return started ? std::nullopt
                   : std::optional<QString>(error ? QString::fromNSString(error.description)
                                                  : QStringLiteral("no reason given"));
}

void MacSparkleUpdateCheck::checkForUpdateInformation(UpdateCheckObserver& observer) {
    native_->driver.observer = &observer;
    [native_->updater checkForUpdateInformation];
}

} // namespace fenwold

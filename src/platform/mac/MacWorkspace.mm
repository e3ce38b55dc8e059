#include "MacWorkspace.h"

#include "MacImages.h"

#import <AppKit/AppKit.h>

#include <unistd.h>

namespace fenwold {

namespace {

ActivationPolicy policyOf(NSApplicationActivationPolicy policy) {
    switch (policy) {
    case NSApplicationActivationPolicyRegular:
        return ActivationPolicy::regular;
    case NSApplicationActivationPolicyAccessory:
        return ActivationPolicy::accessory;
    default:
        return ActivationPolicy::prohibited;
    }
}

std::optional<QString> text(NSString* s) {
    if (!s)
        return std::nullopt;
    return QString::fromNSString(s);
}

RunningApp record(NSRunningApplication* app) {
    RunningApp r;
    r.pid = app.processIdentifier;
    r.bundleID = text(app.bundleIdentifier);
    r.name = text(app.localizedName);
    r.policy = policyOf(app.activationPolicy);
    r.hidden = app.hidden;
    r.active = app.active;
    if (app.bundleURL)
        r.bundleURL = QUrl::fromNSURL(app.bundleURL);
    return r;
}

NSRunningApplication* running(int32_t pid) {
    return [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
}

} // namespace

std::vector<RunningApp> MacWorkspace::runningApps() const {
    std::vector<RunningApp> out;
    for (NSRunningApplication* app in NSWorkspace.sharedWorkspace.runningApplications)
        out.push_back(record(app));
    return out;
}

std::optional<RunningApp> MacWorkspace::app(int32_t pid) const {
    NSRunningApplication* app = running(pid);
    if (!app)
        return std::nullopt;
    return record(app);
}

std::vector<RunningApp> MacWorkspace::appsWithBundleID(const QString& bundleID) const {
    std::vector<RunningApp> out;
    for (NSRunningApplication* app in
         [NSRunningApplication runningApplicationsWithBundleIdentifier:bundleID.toNSString()])
        out.push_back(record(app));
    return out;
}

std::optional<RunningApp> MacWorkspace::frontmostApp() const {
    NSRunningApplication* app = NSWorkspace.sharedWorkspace.frontmostApplication;
    if (!app)
        return std::nullopt;
    return record(app);
}

// Messaging a missing application answers 0.
int32_t MacWorkspace::frontmostPid() const {
    return NSWorkspace.sharedWorkspace.frontmostApplication.processIdentifier;
}

QImage MacWorkspace::icon(int32_t pid) const {
    NSImage* image = running(pid).icon;
    return qImageFromCGImage([image CGImageForProposedRect:nullptr context:nil hints:nil]);
}

int32_t MacWorkspace::ownPid() const { return getpid(); }

bool MacWorkspace::activate(int32_t pid) { return [running(pid) activateWithOptions:0]; }

bool MacWorkspace::unhide(int32_t pid) { return [running(pid) unhide]; }

bool MacWorkspace::hide(int32_t pid) { return [running(pid) hide]; }

bool MacWorkspace::terminate(int32_t pid) { return [running(pid) terminate]; }

bool MacWorkspace::open(const QUrl& url) { return [NSWorkspace.sharedWorkspace openURL:url.toNSURL()]; }

std::optional<QUrl> MacWorkspace::urlForApplication(const QString& bundleID) const {
    NSURL* url = [NSWorkspace.sharedWorkspace URLForApplicationWithBundleIdentifier:bundleID.toNSString()];
    if (!url)
        return std::nullopt;
    return QUrl::fromNSURL(url);
}

std::optional<ApplicationBundle> MacWorkspace::applicationBundle(const QUrl& url) const {
    NSURL* location = url.toNSURL();
    NSBundle* bundle = [NSBundle bundleWithURL:location];
    if (!bundle)
        return std::nullopt;
    ApplicationBundle out;
    out.bundleID = text(bundle.bundleIdentifier);
    // The bundle's own path: a URL's path may be nil, and these take none.
    out.name = QString::fromNSString([NSFileManager.defaultManager displayNameAtPath:bundle.bundlePath]);
    NSImage* image = [NSWorkspace.sharedWorkspace iconForFile:bundle.bundlePath];
    out.icon = qImageFromCGImage([image CGImageForProposedRect:nullptr context:nil hints:nil]);
    return out;
}

Subscription MacWorkspace::observe(std::function<void(const WorkspaceEvent&)> handler) {
    const std::pair<NSNotificationName, WorkspaceEvent::Kind> names[] = {
        {NSWorkspaceDidLaunchApplicationNotification, WorkspaceEvent::Kind::launched},
        {NSWorkspaceDidTerminateApplicationNotification, WorkspaceEvent::Kind::terminated},
        {NSWorkspaceDidActivateApplicationNotification, WorkspaceEvent::Kind::activated},
        {NSWorkspaceDidHideApplicationNotification, WorkspaceEvent::Kind::hidden},
        {NSWorkspaceDidUnhideApplicationNotification, WorkspaceEvent::Kind::unhidden},
        {NSWorkspaceActiveSpaceDidChangeNotification, WorkspaceEvent::Kind::activeSpaceChanged},
        {NSWorkspaceAccessibilityDisplayOptionsDidChangeNotification,
         WorkspaceEvent::Kind::accessibilityDisplayChanged},
    };
    NSNotificationCenter* center = NSWorkspace.sharedWorkspace.notificationCenter;
    NSMutableArray* tokens = [NSMutableArray array];
    for (const auto& [name, kind] : names) {
        const WorkspaceEvent::Kind k = kind;
        id token = [center addObserverForName:name
                                       object:nil
                                        queue:NSOperationQueue.mainQueue
                                   usingBlock:^(NSNotification* note) {
                                     NSRunningApplication* app = note.userInfo[NSWorkspaceApplicationKey];
                                     handler(WorkspaceEvent{k, app ? app.processIdentifier : 0});
                                   }];
        [tokens addObject:token];
    }
    return Subscription([center, tokens] {
        for (id token in tokens)
            [center removeObserver:token];
    });
}

} // namespace fenwold

#include "SimHost.h"

#include "core/shell/AppIdentifier.h"
#include "ui/shell/QtShellViews.h"

namespace fenwold {

namespace {

// The bundle facts a Mac build reads from its Info.plist; the feed can be pointed elsewhere
// with FENWOLD_FEED_URL in the environment.
BundleInfo hostBundle() {
    BundleInfo info{appIdentifier(), QStringLiteral(FENWOLD_VERSION), QStringLiteral(FENWOLD_BUILD_NUMBER),
                    std::nullopt};
    const QString feed = qEnvironmentVariableIsSet("FENWOLD_FEED_URL")
                             ? qEnvironmentVariable("FENWOLD_FEED_URL")
                             : QStringLiteral(FENWOLD_FEED_URL);
    if (!feed.isEmpty()) info.feedURL = feed;
    return info;
}

} // namespace

SimHost::SimHost() {
    session_.appShell.setBundle(hostBundle());
    // The simulated windows react (full screen, Spaces) on the real clock like everything else.
    session_.windows.setQueue(mainQueue_);
}

SimHost::~SimHost() {
    appsTimer_.cancel();
}

Platform SimHost::platform() {
    Platform p = session_.platform();
    p.mainQueue = &mainQueue_;
    p.clipboardQueue = &clipboardQueue_;
    p.background = &background_;
    p.log = &log_;
    p.clock = &clock_;
    return p;
}

std::unique_ptr<StatusItemView> SimHost::makeStatusItem() {
    return std::make_unique<QtTrayItem>();
}

void SimHost::openStandardDesktop() {
    apps_ = std::make_unique<SimApps>(session_);
    apps_->populate();
    // The applications react to the keys posted to them between turns of the event loop.
    appsTimer_ = mainQueue_.every(0.02, 0.01, [this] { apps_->flush(); });
}

FloatingPanelFactory SimHost::nativePanels() {
    return {};
}

void SimHost::onTerminate(std::function<void()> quit) {
    session_.appShell.onTerminate = std::move(quit);
}

std::unique_ptr<Updates> SimHost::makeUpdates() {
    return feedUpdates_.updates(mainQueue_, session_.appShell);
}

std::unique_ptr<UpdateCheck> SimHost::makeUpdateCheck() {
    return feedUpdates_.check(session_.appShell);
}

} // namespace fenwold

#include "MacHost.h"

#include "FeedUpdates.h"
#include "core/input/Keys.h"
#include "platform/mac/MacAccessibility.h"
#include "platform/mac/MacAppShell.h"
#include "platform/mac/MacClickSender.h"
#include "platform/mac/MacEventTap.h"
#include "platform/mac/MacFloatingPanel.h"
#include "platform/mac/MacInputSources.h"
#include "platform/mac/MacKeySender.h"
#include "platform/mac/MacKeyboardLayout.h"
#include "platform/mac/MacPasteboard.h"
#include "platform/mac/MacPrefsStore.h"
#include "platform/mac/MacPrivateServices.h"
#include "platform/mac/MacProcesses.h"
#include "platform/mac/MacScreenCapture.h"
#include "platform/mac/MacScreens.h"
#include "platform/mac/MacSecureInput.h"
#include "platform/mac/MacStatusItem.h"
#include "platform/mac/MacWindowServer.h"
#include "platform/mac/MacWorkspace.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/ThreadPoolTasks.h"
#include "platform/qt/WorkerThreadQueue.h"
#if defined(FENWOLD_HAVE_SPARKLE)
#include "platform/mac/MacSparkleUpdateCheck.h"
#include "platform/mac/MacSparkleUpdates.h"
#endif

#include <QWidget>

namespace fenwold {

struct MacHost::Parts {
    QtMainQueue mainQueue;
    WorkerThreadQueue clipboardQueue;
    ThreadPoolTasks background;
    MacPrefsStore prefs;
    MacWorkspace workspace;
    MacAccessibility accessibility;
    MacWindowServer windowServer;
    MacScreenCapture screenCapture;
    MacScreens screens;
    MacPasteboard pasteboard;
    MacProcesses processes;
    MacInputSources inputSources;
    MacKeyboardLayout keyboardLayout;
    MacPrivateServices privateServices;
    MarkedEventSources eventSources{kOwnEventMarker};
    MacKeySender keySender{eventSources};
    MacClickSender clickSender{eventSources};
    MacEventTap eventTap;
    MacSecureInput secureInput;
    MacLoginItems loginItems;
    MacAppShell appShell;
    MacLog log;
    MacClock clock;
    FeedUpdates feedUpdates;
};

MacHost::MacHost() : parts_(std::make_unique<Parts>()) {}
MacHost::~MacHost() = default;

Platform MacHost::platform() {
    Parts& p = *parts_;
    Platform platform;
    platform.mainQueue = &p.mainQueue;
    platform.clipboardQueue = &p.clipboardQueue;
    platform.background = &p.background;
    platform.prefs = &p.prefs;
    platform.workspace = &p.workspace;
    platform.accessibility = &p.accessibility;
    platform.windowServer = &p.windowServer;
    platform.screenCapture = &p.screenCapture;
    platform.screens = &p.screens;
    platform.pasteboard = &p.pasteboard;
    platform.processes = &p.processes;
    platform.inputSources = &p.inputSources;
    platform.keyboardLayout = &p.keyboardLayout;
    platform.privateServices = &p.privateServices;
    platform.keySender = &p.keySender;
    platform.clickSender = &p.clickSender;
    platform.eventTap = &p.eventTap;
    platform.secureInput = &p.secureInput;
    platform.loginItems = &p.loginItems;
    platform.appShell = &p.appShell;
    platform.log = &p.log;
    platform.clock = &p.clock;
    return platform;
}

std::unique_ptr<StatusItemView> MacHost::makeStatusItem() { return std::make_unique<MacStatusItem>(); }

FloatingPanelFactory MacHost::nativePanels() {
    return [](QWidget& content, const PanelStyle& style) -> std::unique_ptr<FloatingPanel> {
        return std::make_unique<MacFloatingPanel>(content, style);
    };
}

void MacHost::onTerminate(std::function<void()> quit) { parts_->appShell.setQuit(std::move(quit)); }

// With the update framework linked in, it owns update checks and their windows; without it the
// program reads the bundle's feed itself. A bundle that names no feed keeps the program's own
// reader too: the framework's updater would tell the user at every launch that it is
// misconfigured.
#if defined(FENWOLD_HAVE_SPARKLE)
std::unique_ptr<Updates> MacHost::makeUpdates() {
    if (!parts_->appShell.bundle().feedURL)
        return parts_->feedUpdates.updates(parts_->mainQueue, parts_->appShell);
    return std::make_unique<MacSparkleUpdates>();
}

std::unique_ptr<UpdateCheck> MacHost::makeUpdateCheck() { return std::make_unique<MacSparkleUpdateCheck>(); }
#else
std::unique_ptr<Updates> MacHost::makeUpdates() {
    return parts_->feedUpdates.updates(parts_->mainQueue, parts_->appShell);
}

std::unique_ptr<UpdateCheck> MacHost::makeUpdateCheck() {
    return parts_->feedUpdates.check(parts_->appShell);
}
#endif

std::unique_ptr<Host> makeHost() { return std::make_unique<MacHost>(); }

} // namespace fenwold

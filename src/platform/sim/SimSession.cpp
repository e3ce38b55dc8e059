#include "SimSession.h"

namespace fenwold {

SimAppBuilder& SimAppBuilder::frontmost() {
    session_->workspace.activate(pid_);
    return *this;
}

SimAppBuilder& SimAppBuilder::hidden() {
    session_->workspace.hide(pid_);
    return *this;
}

SimAppBuilder& SimAppBuilder::accessory() {
    session_->workspace.update(pid_, [](SimApp& a) { a.info.policy = ActivationPolicy::accessory; });
    return *this;
}

SimAppBuilder& SimAppBuilder::neverActivates() {
    session_->workspace.update(pid_, [](SimApp& a) { a.neverActivates = true; });
    return *this;
}

SimAppBuilder& SimAppBuilder::processName(const QString& name) {
    session_->processes.setProcessName(pid_, name);
    return *this;
}

SimAppBuilder& SimAppBuilder::icon(const QImage& image) {
    session_->workspace.update(pid_, [&](SimApp& a) { a.icon = image; });
    return *this;
}

SimWindowBuilder SimAppBuilder::window(const QString& title, Rect frame) {
    return SimWindowBuilder(*session_, pid_, session_->windows.open(pid_, title, frame));
}

SimWindowBuilder& SimWindowBuilder::minimized() {
    session_->windows.update(number_, [](SimWindow& w) { w.minimized = true; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::fullscreen() {
    session_->windows.setFullscreenNow(number_);
    return *this;
}

SimWindowBuilder& SimWindowBuilder::subrole(const std::optional<QString>& subrole) {
    session_->windows.update(number_, [&](SimWindow& w) { w.subrole = subrole; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::onSpace(int space) {
    session_->windows.update(number_, [&](SimWindow& w) { w.space = w.homeSpace = space; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::layer(int64_t layer) {
    session_->windows.update(number_, [&](SimWindow& w) { w.layer = layer; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::alpha(double alpha) {
    session_->windows.update(number_, [&](SimWindow& w) { w.alpha = alpha; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::minimumSize(Size size) {
    session_->windows.update(number_, [&](SimWindow& w) { w.minSize = size; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::fixedSize() {
    session_->windows.update(number_, [&](SimWindow& w) { w.minSize = w.maxSize = w.frame.size(); });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::notInWindowsList() {
    session_->windows.update(number_, [](SimWindow& w) { w.listedByAX = false; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::withoutAccessibility() {
    session_->windows.update(number_, [](SimWindow& w) { w.knownToAX = false; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::image(const QImage& image) {
    session_->windows.update(number_, [&](SimWindow& w) { w.directImage = w.captureImage = image; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::directImage(const QImage& image) {
    session_->windows.update(number_, [&](SimWindow& w) { w.directImage = image; });
    return *this;
}

SimWindowBuilder& SimWindowBuilder::captureImage(const QImage& image) {
    session_->windows.update(number_, [&](SimWindow& w) { w.captureImage = image; });
    return *this;
}

SimWindowBuilder SimWindowBuilder::window(const QString& title, Rect frame) {
    return SimWindowBuilder(*session_, pid_, session_->windows.open(pid_, title, frame));
}

SimSession::SimSession() {
    eventTap.setSecureInput(&secureInput);
    eventTap.setAccessibility(&accessibility);
    privateServices.onFront = [this](int32_t pid, uint32_t window) {
        windows.frontFromWindowServer(pid, window);
    };
    privateServices.onDockNotification = [this](const QString& name) {
        if (name == QStringLiteral("com.apple.showdesktop.awake")) windows.toggleDesktop();
    };
    appShell.setBundle(
        {QStringLiteral("org.fenwold.Fenwold"), QStringLiteral("0.1.0"), QStringLiteral("1"), std::nullopt});
}

SimAppBuilder SimSession::app(const QString& bundleID, const QString& name) {
    const int32_t pid = workspace.launch(bundleID, name);
    processes.setProcessName(pid, name);
    return SimAppBuilder(*this, pid);
}

SimAppBuilder SimSession::appWithPid(int32_t pid, const QString& bundleID, const QString& name) {
    workspace.launchWithPid(pid, bundleID, name);
    processes.setProcessName(pid, name);
    return SimAppBuilder(*this, pid);
}

SimDisplayBuilder SimSession::display(double width, double height) {
    const int index = static_cast<int>(screens.screens().size());
    return SimDisplayBuilder(screens, index, {width, height});
}

namespace {
constexpr double kMenuBar = 25;
} // namespace

SimDisplayBuilder::SimDisplayBuilder(SimScreens& screens, int index, Size size)
    : screens_(&screens), index_(index), size_(size), neighbour_(std::max(0, index - 1)) {
    screens_->addScreen({});
    apply();
}

SimDisplayBuilder& SimDisplayBuilder::rightOf(int display) {
    return place(Side::right, display);
}

SimDisplayBuilder& SimDisplayBuilder::leftOf(int display) {
    return place(Side::left, display);
}

SimDisplayBuilder& SimDisplayBuilder::above(int display) {
    return place(Side::above, display);
}

SimDisplayBuilder& SimDisplayBuilder::below(int display) {
    return place(Side::below, display);
}

SimDisplayBuilder& SimDisplayBuilder::offset(double points) {
    offset_ = points;
    apply();
    return *this;
}

SimDisplayBuilder& SimDisplayBuilder::main() {
    screens_->setMainScreenIndex(index_);
    return *this;
}

SimDisplayBuilder& SimDisplayBuilder::place(Side side, int display) {
    side_ = side;
    neighbour_ = display;
    apply();
    return *this;
}

void SimDisplayBuilder::apply() {
    // Screen coordinates: y grows upwards from the primary display's bottom edge.
    const Rect n = screens_->screens().at(static_cast<std::size_t>(neighbour_)).frame;
    const double w = size_.width, h = size_.height;
    Rect frame;
    switch (side_) {
    case Side::right:
        frame = {n.maxX(), n.maxY() - h - offset_, w, h};
        break;
    case Side::left:
        frame = {n.minX() - w, n.maxY() - h - offset_, w, h};
        break;
    case Side::above:
        frame = {n.minX() + offset_, n.maxY(), w, h};
        break;
    case Side::below:
        frame = {n.minX() + offset_, n.minY() - h, w, h};
        break;
    }
    screens_->setScreen(index_, {frame, {frame.x, frame.y, w, h - kMenuBar}});
}

Platform SimSession::platform() {
    Platform p;
    p.mainQueue = &mainQueue;
    p.clipboardQueue = &worker;
    p.background = &background;
    p.prefs = &prefs;
    p.workspace = &workspace;
    p.accessibility = &accessibility;
    p.windowServer = &windowServer;
    p.screenCapture = &windowServer;
    p.screens = &screens;
    p.pasteboard = &pasteboard;
    p.processes = &processes;
    p.inputSources = &inputSources;
    p.keyboardLayout = &keyboardLayout;
    p.privateServices = &privateServices;
    p.keySender = &keys;
    p.clickSender = &clicks;
    p.eventTap = &eventTap;
    p.secureInput = &secureInput;
    p.loginItems = &loginItems;
    p.updates = &updates;
    p.appShell = &appShell;
    p.log = &log;
    p.clock = &clock;
    return p;
}

} // namespace fenwold

#include "SimAccessibility.h"

#include <algorithm>

namespace fenwold {

namespace {
constexpr uint64_t kSystemWide = 1;
}

const SimAccessibility::Node* SimAccessibility::find(const AXElement& e) const {
    auto it = nodes_.find(e.id());
    return it == nodes_.end() ? nullptr : &it->second;
}

SimAccessibility::Node* SimAccessibility::find(const AXElement& e) {
    auto it = nodes_.find(e.id());
    return it == nodes_.end() ? nullptr : &it->second;
}

bool SimAccessibility::failsLocked(const Node& node) const {
    auto it = unresponsiveApps_.find(node.pid);
    return it != unresponsiveApps_.end() && it->second;
}

void SimAccessibility::waitLocked(const Node& node) {
    constexpr double kDefaultTimeout = 6.0;
    const auto system = nodes_.find(kSystemWide);
    const double fallback =
        system != nodes_.end() && system->second.timeout > 0 ? system->second.timeout : kDefaultTimeout;
    waited_ += node.timeout > 0 ? node.timeout : fallback;
}

double SimAccessibility::waited() const {
    std::lock_guard lock(mutex_);
    return waited_;
}

bool SimAccessibility::isTrusted() const {
    std::lock_guard lock(mutex_);
    return trusted_;
}

bool SimAccessibility::requestTrust() {
    std::lock_guard lock(mutex_);
    ++trustRequests_;
    return trusted_;
}

int SimAccessibility::trustRequests() const {
    std::lock_guard lock(mutex_);
    return trustRequests_;
}

AXElement SimAccessibility::application(int32_t pid) {
    std::lock_guard lock(mutex_);
    auto it = applications_.find(pid);
    if (it != applications_.end() && nodes_.count(it->second)) return AXElement(it->second);
    const uint64_t id = nextID_++;
    nodes_[id].pid = pid;
    applications_[pid] = id;
    nodes_[id].attributes.insert(QStringLiteral("AXRole"), AXValue::of(QStringLiteral("AXApplication")));
    return AXElement(id);
}

AXElement SimAccessibility::systemWide() {
    std::lock_guard lock(mutex_);
    nodes_.try_emplace(kSystemWide); // so tests can give it a focused element
    return AXElement(kSystemWide);
}

void SimAccessibility::setMessagingTimeout(const AXElement& element, double seconds) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->timeout = seconds;
}

AXValue SimAccessibility::attribute(const AXElement& element, const QString& name) {
    std::lock_guard lock(mutex_);
    const Node* n = find(element);
    if (!n) return AXValue::failed(axerr::invalidUIElement);
    if (failsLocked(*n)) {
        waitLocked(*n);
        return AXValue::failed(axerr::cannotComplete);
    }
    auto it = n->attributes.find(name);
    if (it == n->attributes.end()) return AXValue::failed(axerr::noValue);
    // The system-wide element asks the focused application, under the process-wide default.
    if (element.id() == kSystemWide && name == QLatin1String("AXFocusedUIElement")) {
        const Node* focused = it->asElement() ? find(*it->asElement()) : nullptr;
        if (focused && failsLocked(*focused)) {
            waitLocked(*n);
            return AXValue::failed(axerr::cannotComplete);
        }
    }
    return *it;
}

int32_t SimAccessibility::setAttribute(const AXElement& element, const QString& name, const AXValue& value) {
    Setter setter;
    {
        std::lock_guard lock(mutex_);
        Node* n = find(element);
        if (!n) return axerr::invalidUIElement;
        if (failsLocked(*n)) {
            waitLocked(*n);
            return axerr::cannotComplete;
        }
        auto it = n->setters.find(name);
        if (it == n->setters.end()) return axerr::attributeUnsupported;
        setter = *it;
    }
    return setter(value);
}

int32_t SimAccessibility::performAction(const AXElement& element, const QString& action) {
    Action handler;
    {
        std::lock_guard lock(mutex_);
        Node* n = find(element);
        if (!n) return axerr::invalidUIElement;
        if (failsLocked(*n)) {
            waitLocked(*n);
            return axerr::cannotComplete;
        }
        auto it = n->actions.find(action);
        if (it == n->actions.end()) return axerr::actionUnsupported;
        handler = *it;
    }
    return handler();
}

std::optional<uint32_t> SimAccessibility::windowNumber(const AXElement& element) {
    std::lock_guard lock(mutex_);
    const Node* n = find(element);
    if (!n || failsLocked(*n)) return std::nullopt;
    return n->window;
}

std::optional<int32_t> SimAccessibility::pid(const AXElement& element) {
    std::lock_guard lock(mutex_);
    const Node* n = find(element);
    if (!n) return std::nullopt;
    return n->pid;
}

AXValue SimAccessibility::elementAtPosition(const AXElement& application, Point position) {
    std::function<AXValue(Point)> hit;
    {
        std::lock_guard lock(mutex_);
        const Node* n = find(application);
        if (!n) return AXValue::failed(axerr::invalidUIElement);
        if (failsLocked(*n)) {
            waitLocked(*n);
            return AXValue::failed(axerr::cannotComplete);
        }
        auto it = hitTests_.find(n->pid);
        if (it == hitTests_.end()) return AXValue::failed(axerr::noValue);
        hit = it->second;
    }
    return hit(position);
}

bool SimAccessibility::hasRemoteTokens() const {
    std::lock_guard lock(mutex_);
    return remoteTokens_;
}

AXElement SimAccessibility::elementFromRemoteToken(const QByteArray& token) {
    std::lock_guard lock(mutex_);
    if (!remoteTokens_) return {};
    auto it = tokens_.find(token);
    if (it == tokens_.end() || !nodes_.count(*it)) return {};
    return AXElement(*it);
}

Subscription SimAccessibility::observe(int32_t pid, const std::vector<QString>& notifications,
                                       std::function<void(const QString&, const AXElement&)> callback,
                                       int32_t* error) {
    std::lock_guard lock(mutex_);
    auto err = observerErrors_.find(pid);
    if (err != observerErrors_.end() && err->second != 0) {
        if (error) *error = err->second;
        return {};
    }
    if (error) *error = axerr::success;
    const uint64_t id = nextObserver_++;
    observers_.emplace(id,
                       ObserverEntry{pid, notifications,
                                     std::make_shared<std::function<void(const QString&, const AXElement&)>>(
                                         std::move(callback))});
    return Subscription([this, id] {
        std::lock_guard inner(mutex_);
        observers_.erase(id);
    });
}

AXElement SimAccessibility::create(int32_t pid) {
    std::lock_guard lock(mutex_);
    const uint64_t id = nextID_++;
    nodes_[id].pid = pid;
    return AXElement(id);
}

void SimAccessibility::destroy(const AXElement& element) {
    std::lock_guard lock(mutex_);
    nodes_.erase(element.id());
}

void SimAccessibility::set(const AXElement& element, const QString& name, const AXValue& value) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->attributes.insert(name, value);
}

void SimAccessibility::remove(const AXElement& element, const QString& name) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->attributes.remove(name);
}

void SimAccessibility::onSet(const AXElement& element, const QString& name, Setter setter) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->setters.insert(name, std::move(setter));
}

void SimAccessibility::onAction(const AXElement& element, const QString& action, Action handler) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->actions.insert(action, std::move(handler));
}

void SimAccessibility::setWindowNumber(const AXElement& element, uint32_t number) {
    std::lock_guard lock(mutex_);
    if (Node* n = find(element)) n->window = number;
}

void SimAccessibility::setRemoteToken(const QByteArray& token, const AXElement& element) {
    std::lock_guard lock(mutex_);
    tokens_.insert(token, element.id());
}

void SimAccessibility::onHitTest(int32_t pid, std::function<AXValue(Point)> hitTest) {
    std::lock_guard lock(mutex_);
    hitTests_[pid] = std::move(hitTest);
}

void SimAccessibility::setAppUnresponsive(int32_t pid, bool on) {
    std::lock_guard lock(mutex_);
    unresponsiveApps_[pid] = on;
}

void SimAccessibility::setTrusted(bool trusted, bool announced) {
    {
        std::lock_guard lock(mutex_);
        if (trusted_ && !trusted) ++revocations_;
        trusted_ = trusted;
    }
    if (announced) trustObservers_.notify();
}

uint64_t SimAccessibility::revocations() const {
    std::lock_guard lock(mutex_);
    return revocations_;
}

Subscription SimAccessibility::observeTrustChanges(std::function<void()> handler) {
    return trustObservers_.add(std::move(handler));
}

void SimAccessibility::setRemoteTokensAvailable(bool available) {
    std::lock_guard lock(mutex_);
    remoteTokens_ = available;
}

void SimAccessibility::setObserverError(int32_t pid, int32_t error) {
    std::lock_guard lock(mutex_);
    observerErrors_[pid] = error;
}

void SimAccessibility::notify(int32_t pid, const QString& notification, const AXElement& element) {
    std::vector<std::shared_ptr<std::function<void(const QString&, const AXElement&)>>> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, o] : observers_) {
            if (o.pid != pid) continue;
            for (const auto& n : o.notifications) {
                if (n == notification) targets.push_back(o.callback);
            }
        }
    }
    for (const auto& t : targets)
        (*t)(notification, element);
}

int SimAccessibility::observerCount(int32_t pid) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(observers_.begin(), observers_.end(),
                                          [pid](const auto& o) { return o.second.pid == pid; }));
}

double SimAccessibility::messagingTimeout(const AXElement& element) const {
    std::lock_guard lock(mutex_);
    const Node* n = find(element);
    return n ? n->timeout : 0;
}

bool SimAccessibility::exists(const AXElement& element) const {
    std::lock_guard lock(mutex_);
    return find(element) != nullptr;
}

} // namespace fenwold

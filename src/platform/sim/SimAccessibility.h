#pragma once

#include "ports/Accessibility.h"

#include <QHash>
#include <map>
#include <memory>
#include <mutex>

namespace fenwold {

// The simulated Accessibility API: a table of elements, each with its owning pid, attributes,
// settable attributes, actions and an optional window number. Simulated applications build
// their trees here; the program reads them through the port exactly as it would on a Mac.
class SimAccessibility final : public Accessibility {
public:
    using Action = std::function<int32_t()>;
    using Setter = std::function<int32_t(const AXValue&)>;

    bool isTrusted() const override;
    bool requestTrust() override;
    Subscription observeTrustChanges(std::function<void()> handler) override;
    AXElement application(int32_t pid) override;
    AXElement systemWide() override;
    void setMessagingTimeout(const AXElement& element, double seconds) override;
    AXValue attribute(const AXElement& element, const QString& name) override;
    int32_t setAttribute(const AXElement& element, const QString& name, const AXValue& value) override;
    int32_t performAction(const AXElement& element, const QString& action) override;
    std::optional<uint32_t> windowNumber(const AXElement& element) override;
    std::optional<int32_t> pid(const AXElement& element) override;
    AXValue elementAtPosition(const AXElement& application, Point position) override;
    bool hasRemoteTokens() const override;
    AXElement elementFromRemoteToken(const QByteArray& token) override;
    Subscription observe(int32_t pid, const std::vector<QString>& notifications,
                         std::function<void(const QString&, const AXElement&)> callback,
                         int32_t* error = nullptr) override;

    // Building the tree.
    AXElement create(int32_t pid);
    // Remove an element: later reads answer invalid-element.
    void destroy(const AXElement& element);
    void set(const AXElement& element, const QString& name, const AXValue& value);
    void remove(const AXElement& element, const QString& name);
    // Make an attribute settable through the port; the setter decides what happens.
    void onSet(const AXElement& element, const QString& name, Setter setter);
    void onAction(const AXElement& element, const QString& action, Action handler);
    void setWindowNumber(const AXElement& element, uint32_t number);
    void setRemoteToken(const QByteArray& token, const AXElement& element);
    // Hit-testing within an application: answers the element for a position.
    void onHitTest(int32_t pid, std::function<AXValue(Point)> hitTest);
    // Misbehaviour: every request to any element of pid fails with cannot-complete, as when the
    // application does not answer within its timeout. Each waits for the element's messaging
    // timeout, or the process-wide default without one (the system-wide element's, 6 seconds
    // unless set). The system-wide element's focused element is asked of the application that
    // owns it.
    void setAppUnresponsive(int32_t pid, bool on);
    // Seconds requests have spent waiting for applications that did not answer.
    double waited() const;
    // Change the permission; the system announces it unless `announced` is false (a change the
    // program can only find by asking).
    void setTrusted(bool trusted, bool announced = true);
    // How many times the permission was taken away so far.
    uint64_t revocations() const;
    // How many times the program asked for the permission (with the system prompt).
    int trustRequests() const;
    void setRemoteTokensAvailable(bool available);
    // Make observer registration fail for an application (e.g. still launching).
    void setObserverError(int32_t pid, int32_t error);
    // Deliver a notification to the application's observers. An observer may end its own
    // subscription (or another's) while it is told.
    void notify(int32_t pid, const QString& notification, const AXElement& element);
    // How many observers watch the application.
    int observerCount(int32_t pid) const;
    // The last messaging timeout set on an element (0 when none).
    double messagingTimeout(const AXElement& element) const;
    bool exists(const AXElement& element) const;

private:
    struct Node {
        int32_t pid = 0;
        QHash<QString, AXValue> attributes;
        QHash<QString, Setter> setters;
        QHash<QString, Action> actions;
        std::optional<uint32_t> window;
        double timeout = 0;
    };
    struct ObserverEntry {
        int32_t pid;
        std::vector<QString> notifications;
        std::shared_ptr<std::function<void(const QString&, const AXElement&)>> callback;
    };
    const Node* find(const AXElement& e) const;
    Node* find(const AXElement& e);
    bool failsLocked(const Node& node) const;
    // Counts the wait of a request to an element that does not answer.
    void waitLocked(const Node& node);

    mutable std::recursive_mutex mutex_;
    std::map<uint64_t, Node> nodes_;
    std::map<int32_t, uint64_t> applications_;
    std::map<int32_t, std::function<AXValue(Point)>> hitTests_;
    std::map<int32_t, int32_t> observerErrors_;
    std::map<int32_t, bool> unresponsiveApps_;
    QHash<QByteArray, uint64_t> tokens_;
    std::map<uint64_t, ObserverEntry> observers_;
    uint64_t nextObserver_ = 1;
    uint64_t nextID_ = 2; // 1 is the system-wide element
    double waited_ = 0;
    bool trusted_ = true;
    uint64_t revocations_ = 0;
    int trustRequests_ = 0;
    ObserverList trustObservers_;
    bool remoteTokens_ = true;
};

} // namespace fenwold

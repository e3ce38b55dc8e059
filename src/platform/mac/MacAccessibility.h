#pragma once

#include "ports/Accessibility.h"

#include <ApplicationServices/ApplicationServices.h>

namespace fenwold {

// The Accessibility API. The two private calls (window number of an element, element from a
// remote token) are looked up at run time; without them the answers are "missing".
class MacAccessibility final : public Accessibility {
public:
    MacAccessibility();

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

private:
    using GetWindow = AXError (*)(AXUIElementRef, CGWindowID*);
    using CreateWithRemoteToken = AXUIElementRef (*)(CFDataRef);
    GetWindow getWindow_ = nullptr;
    CreateWithRemoteToken createWithRemoteToken_ = nullptr;
};

} // namespace fenwold

#pragma once

#include "ports/AppShell.h"

#include <functional>
#include <map>

namespace fenwold {

class SimAppShell final : public AppShell {
public:
    void setAccessoryPolicy() override;
    void activateSelf() override;
    void terminate() override;
    BundleInfo bundle() const override;
    QString systemVersion() const override { return systemVersion_; }
    Subscription observeReopen(std::function<void()> handler) override;
    void chooseApplication(std::function<void(const QUrl&)> chosen) override;

    void setBundle(BundleInfo info);
    // Shows the simulated file chooser; without one a chooser stays open until `answerChooser`.
    std::function<void(std::function<void(const QUrl&)> chosen)> onChooseApplication;
    bool chooserOpen() const { return static_cast<bool>(pendingChooser_); }
    // The user picks a bundle (or cancels with an empty location) in the open chooser.
    void answerChooser(const QUrl& url);
    bool accessory() const { return accessory_; }
    bool terminated() const { return terminated_; }
    int activations() const { return activations_; }
    void reopen();
    std::function<void()> onTerminate;

private:
    BundleInfo bundle_;
    QString systemVersion_ = QStringLiteral("14.5");
    bool accessory_ = false;
    bool terminated_ = false;
    int activations_ = 0;
    std::map<uint64_t, std::function<void()>> reopen_;
    uint64_t next_ = 1;
    std::function<void(const QUrl&)> pendingChooser_;
};

} // namespace fenwold

#pragma once

#include "ports/EventTapHost.h"
#include "ports/InputSources.h"
#include "ports/KeySender.h"
#include "ports/Subscription.h"

#include <QStringList>

#include <mutex>

namespace fenwold {

class SecureInput;
class SimAccessibility;

// One synthetic key event as a simulated process received it; pid 0 for a key posted to the
// session.
struct PostedKey {
    uint16_t keyCode = 0;
    bool keyDown = true;
    uint64_t flags = 0;
    int32_t pid = 0;
    friend bool operator==(const PostedKey&, const PostedKey&) = default;
};

// Records every synthetic key and hands it to the receiving application's handler.
class SimKeySender final : public KeySender {
public:
    bool post(uint16_t keyCode, bool keyDown, uint64_t flags, int32_t pid) override;
    bool postToSession(uint16_t keyCode, bool keyDown, uint64_t flags) override;

    std::vector<PostedKey> posted() const;
    void clear();
    // Make event creation fail (as when no event source can be made).
    void setCreationFails(bool fails);
    // Called for every delivered key (the simulated applications react to it). Set before use.
    std::function<void(const PostedKey&)> onDeliver;
    // Called for every key posted to the session (the simulated system's shortcuts react to it).
    std::function<void(const PostedKey&)> onSession;

private:
    mutable std::mutex mutex_;
    std::vector<PostedKey> posted_;
    bool creationFails_ = false;
};

// Keyboard input sources, with the current one.
class SimInputSources final : public InputSources {
public:
    SimInputSources();
    std::vector<InputSourceInfo> sources() const override;
    std::optional<QString> current() const override;
    bool select(const QString& id) override;

    void setSources(std::vector<InputSourceInfo> sources, const QString& current);
    QStringList selections() const;
    // Hear that the selected source changed (or the sources were replaced), on the changing thread.
    Subscription observeSelection(std::function<void()> handler);

private:
    mutable std::mutex mutex_;
    std::vector<InputSourceInfo> sources_;
    QString current_;
    QStringList selections_;
    ObserverList observers_;
};

// The session event tap: the simulated hardware feeds events through the installed handler. As
// macOS does, a tap made while the process is not trusted for Accessibility has no key events
// (none at all when only those were asked for), and a tap whose process loses the permission
// gets no key events again, even once it is given back: only a new tap has them.
class SimEventTap final : public EventTapHost {
public:
    bool start(uint64_t eventMask, std::function<TapAnswer(TapEvent&)> handler) override;
    void reEnable() override;
    void disable() override;
    void stop() override;
    uint64_t modifierState(ModifierState which) const override;

    bool started() const;
    // False between `disable` and the next `reEnable`: events pass without reaching the handler.
    bool enabled() const;
    void setModifierState(ModifierState which, uint64_t flags);
    int reEnableCount() const;
    uint64_t eventMask() const;
    void setCreationFails(bool fails);
    // Run one hardware event through the tap as macOS would; pass when no tap is installed. Like
    // the real tap, events outside the mask are not seen (the tap-disabled notices always are),
    // nor are keys while a process holds Secure Event Input.
    TapAnswer feed(TapEvent& event);
    void setSecureInput(const SecureInput* secureInput);
    void setAccessibility(const SimAccessibility* accessibility);
    // How many taps were made.
    int startCount() const;
    // Runs inside `reEnable`, before the tap is on again (a test's way into a race).
    std::function<void()> beforeReEnable;

private:
    mutable std::mutex mutex_;
    // Held while the handler runs, so that `stop` waits for a delivery in flight, as the real
    // tap's thread is joined.
    std::recursive_mutex delivering_;
    std::function<TapAnswer(TapEvent&)> handler_;
    bool enabled_ = true;
    int reEnables_ = 0;
    uint64_t mask_ = 0;
    bool creationFails_ = false;
    uint64_t hardwareFlags_ = 0;
    uint64_t sessionFlags_ = 0;
    const SecureInput* secureInput_ = nullptr;
    const SimAccessibility* accessibility_ = nullptr;
    bool keysAllowed_ = true;
    uint64_t revocationsAtStart_ = 0;
    int starts_ = 0;
};

} // namespace fenwold

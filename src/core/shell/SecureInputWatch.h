#pragma once

#include "ports/MainQueue.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace fenwold {

class HintHUD;
class Log;
class Processes;
class SecureInput;
class Trace;
class Workspace;

// Follows Secure Keyboard Entry. While any process holds it the event tap sees no key, so every
// shortcut silently stops; this says so (the status menu, a dimmed icon, the log, the trace) and,
// when the holder is not the application the user is typing into, shows once per episode who it
// is, since people rarely find out which application is responsible.
class SecureInputWatch {
public:
    static constexpr double kPollSeconds = 2.0;
    static constexpr double kPollTolerance = 1.0;
    // How long it must stay on with the holder in the background (or unknown) before the HUD.
    static constexpr double kHudAfterSeconds = 5.0;

    struct Parts {
        SecureInput* secureInput = nullptr;
        Workspace* workspace = nullptr;
        Processes* processes = nullptr;
        MainQueue* mainQueue = nullptr;
        Log* log = nullptr;
        Trace* trace = nullptr;
        HintHUD* hints = nullptr;
    };
    explicit SecureInputWatch(const Parts& parts);
    SecureInputWatch(const SecureInputWatch&) = delete;
    SecureInputWatch& operator=(const SecureInputWatch&) = delete;

    // Reads the state now and then every 2 seconds on the main queue.
    void start();
    bool on() const { return on_; }
    std::optional<int32_t> holderPid() const { return holder_; }
    // The holder's application or process name; "an app" when unknown.
    QString holderName() const { return holderName_; }
    // Told when it turns on or off or the holder changes.
    std::function<void()> onChange;

private:
    void poll();
    void begin(std::optional<int32_t> pid);
    void end();
    void followFront();
    bool holderInFront() const;
    QString nameOf(std::optional<int32_t> pid) const;

    Parts p_;
    TimerHandle poll_;
    TimerHandle hud_;
    bool on_ = false;
    bool hudShown_ = false;
    std::optional<int32_t> holder_;
    QString holderName_;
};

} // namespace fenwold

#pragma once

#include <QString>
#include <cstdint>
#include <mutex>

namespace fenwold {

class PrefsStore;
class MainQueue;
class WallClock;

// The debug trace of what the event tap sees and decides. Off unless `debugLog` is on when it is
// first asked; the answer holds for the whole run. The file records every key typed, passwords
// included, so it is created for its owner only, never through a symbolic link, and a file
// that belongs to someone else is refused.
class Trace {
public:
    static constexpr const char* kDefaultPath = "/tmp/fenwoldapp-events.txt";

    Trace(PrefsStore& prefs, const MainQueue& clock, const WallClock& wallClock,
          QString path = QString::fromLatin1(kDefaultPath));
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace();

    bool on() const;
    // Appends the line and a newline when the file is open; otherwise nothing.
    void write(const QString& line);
    // "t=<uptime> *** <text>".
    void mark(const QString& text);
    // The uptime with three decimals, as every timed line starts.
    QString stamp() const;
    // Whether the file is open (after the first write).
    bool isOpen();

private:
    void openLocked();

    PrefsStore* prefs_;
    const MainQueue* clock_;
    const WallClock* wallClock_;
    QString path_;
    mutable std::once_flag onceOn_;
    mutable bool on_ = false;
    std::mutex lock_;
    bool opened_ = false;
    int fd_ = -1;
};

} // namespace fenwold

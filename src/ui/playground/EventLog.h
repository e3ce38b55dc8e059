#pragma once

#include "platform/sim/apps/SimHardware.h"

#include <QStringList>

namespace fenwold {

// Plain-words lines about what happened in the playground: what the tap saw and decided, keys
// the program posted and to which application, activations, tools launched and private services
// called. Kept to the newest `limit` lines.
class EventLog {
public:
    // Keys are named as the simulated Mac's layout labels them.
    explicit EventLog(const SimKeyboardLayout& layout, int limit = 2000) : layout_(layout), limit_(limit) {}

    void tapDecision(const TapDecision& decision, const QString& frontApp);
    void posted(const PostedKey& key, const QString& app);
    void note(const QString& line);

    const QStringList& lines() const { return lines_; }
    std::function<void(const QString&)> onLine;

    // How one decision reads, without the log.
    static QString describe(const TapDecision& decision, const QString& frontApp,
                            const SimKeyboardLayout& layout);

private:
    const SimKeyboardLayout& layout_;
    QStringList lines_;
    int limit_;
};

} // namespace fenwold

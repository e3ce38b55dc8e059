#pragma once

#include "ports/InputSources.h"
#include "ports/Subscription.h"

#include <QStringList>

#include <mutex>

namespace fenwold {

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

} // namespace fenwold

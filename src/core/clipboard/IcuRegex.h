#pragma once

#include <QStringView>
#include <functional>
#include <mutex>
#include <vector>

struct URegularExpression;

namespace fenwold {

// A regular expression in ICU's syntax, run by ICU's own engine (the one the Mac's text APIs use),
// over UTF-16 text as Qt stores it. Compiled once; matching is safe from any thread, each search
// borrowing its own clone of the compiled pattern.
class IcuRegex {
public:
    // Compiled without flags; an invalid pattern matches nothing.
    explicit IcuRegex(QStringView pattern);
    ~IcuRegex();
    IcuRegex(const IcuRegex&) = delete;
    IcuRegex& operator=(const IcuRegex&) = delete;

    bool isValid() const { return compiled_ != nullptr; }
    // Whether the pattern matches anywhere in text.
    bool search(QStringView text) const;
    // Every non-overlapping match from the start, in order, as UTF-16 offsets [start, end).
    // Stops early if the engine gives up (its backtracking limit).
    void forEachMatch(QStringView text,
                      const std::function<void(qsizetype start, qsizetype end)>& found) const;

private:
    class Lease;
    URegularExpression* compiled_ = nullptr;
    mutable std::mutex mutex_;
    mutable std::vector<URegularExpression*> idle_;
};

} // namespace fenwold

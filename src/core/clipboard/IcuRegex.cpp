#include "IcuRegex.h"

#include <limits>
#include <unicode/uregex.h>

namespace fenwold {

namespace {

const UChar* units(QStringView text) {
    return reinterpret_cast<const UChar*>(text.utf16());
}

} // namespace

// One clone of the compiled pattern, taken from the idle ones (or made) and handed back after use.
class IcuRegex::Lease {
public:
    explicit Lease(const IcuRegex& owner) : owner_(owner) {
        {
            const std::lock_guard lock(owner_.mutex_);
            if (!owner_.idle_.empty()) {
                matcher_ = owner_.idle_.back();
                owner_.idle_.pop_back();
            }
        }
        if (!matcher_) {
            UErrorCode status = U_ZERO_ERROR;
            matcher_ = uregex_clone(owner_.compiled_, &status);
            if (U_FAILURE(status)) matcher_ = nullptr;
        }
    }
    ~Lease() {
        if (!matcher_) return;
        const std::lock_guard lock(owner_.mutex_);
        owner_.idle_.push_back(matcher_);
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // Points the matcher at text (ICU keeps the pointer, not a copy); false if it cannot.
    bool attach(QStringView text) {
        if (!matcher_ || text.size() > std::numeric_limits<int32_t>::max()) return false;
        UErrorCode status = U_ZERO_ERROR;
        uregex_setText(matcher_, units(text), static_cast<int32_t>(text.size()), &status);
        return U_SUCCESS(status);
    }
    URegularExpression* get() const { return matcher_; }

private:
    const IcuRegex& owner_;
    URegularExpression* matcher_ = nullptr;
};

IcuRegex::IcuRegex(QStringView pattern) {
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    compiled_ = uregex_open(units(pattern), static_cast<int32_t>(pattern.size()), 0, &where, &status);
    if (U_FAILURE(status)) {
        if (compiled_) uregex_close(compiled_);
        compiled_ = nullptr;
    }
}

IcuRegex::~IcuRegex() {
    for (URegularExpression* matcher : idle_)
        uregex_close(matcher);
    if (compiled_) uregex_close(compiled_);
}

bool IcuRegex::search(QStringView text) const {
    if (!compiled_) return false;
    Lease lease(*this);
    if (!lease.attach(text)) return false;
    UErrorCode status = U_ZERO_ERROR;
    const bool found = uregex_findNext(lease.get(), &status);
    return U_SUCCESS(status) && found;
}

void IcuRegex::forEachMatch(QStringView text,
                            const std::function<void(qsizetype start, qsizetype end)>& found) const {
    if (!compiled_) return;
    Lease lease(*this);
    if (!lease.attach(text)) return;
    UErrorCode status = U_ZERO_ERROR;
    while (uregex_findNext(lease.get(), &status) && U_SUCCESS(status)) {
        const int32_t start = uregex_start(lease.get(), 0, &status);
        const int32_t end = uregex_end(lease.get(), 0, &status);
        if (U_FAILURE(status)) return;
        found(start, end);
    }
}

} // namespace fenwold

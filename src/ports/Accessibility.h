#pragma once

#include "Geometry.h"
#include "Subscription.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace fenwold {

// A handle to one accessibility element. Shared ownership: on a Mac it keeps the element
// retained; in the simulated session `id` indexes the element table. Two handles are equal when
// they name the same element, which a Mac decides (CFEqual) for two handles made apart.
class AXElement {
public:
    // Whether two retained elements are the same one; null where the id alone tells.
    using Same = bool (*)(const void* a, const void* b);

    AXElement() = default;
    AXElement(uint64_t id, std::shared_ptr<void> retained = nullptr, Same same = nullptr)
        : id_(id), retained_(std::move(retained)), same_(same) {}

    // Equal for equal elements but, on a Mac, not unique (the element's hash, CFHash).
    uint64_t id() const { return id_; }
    bool isNull() const { return id_ == 0 && !retained_; }
    explicit operator bool() const { return !isNull(); }
    const std::shared_ptr<void>& retained() const { return retained_; }
    friend bool operator==(const AXElement& a, const AXElement& b) {
        if (a.id_ != b.id_) return false;
        if (!a.same_) return !b.same_;
        return a.same_ == b.same_ && a.same_(a.retained_.get(), b.retained_.get());
    }

private:
    uint64_t id_ = 0;
    std::shared_ptr<void> retained_;
    Same same_ = nullptr;
};

// Accessibility error codes the behaviour distinguishes.
namespace axerr {
inline constexpr int32_t success = 0;
inline constexpr int32_t failure = -25200;
inline constexpr int32_t illegalArgument = -25201;
inline constexpr int32_t invalidUIElement = -25202;
inline constexpr int32_t cannotComplete = -25204;
inline constexpr int32_t attributeUnsupported = -25205;
inline constexpr int32_t actionUnsupported = -25206;
inline constexpr int32_t noValue = -25212;
inline constexpr int32_t apiDisabled = -25211;
} // namespace axerr

// One attribute value as Accessibility answers it; "missing" and a value of another type stay
// distinguishable from false or zero.
struct AXValue {
    enum class Kind { missing, error, boolean, integer, real, string, point, size, element, elements, url };
    Kind kind = Kind::missing;
    int32_t error = 0; // the error code when kind == error
    std::variant<std::monostate, bool, int64_t, double, QString, Point, Size, AXElement,
                 std::vector<AXElement>, QUrl>
        value;

    static AXValue missing() { return {}; }
    static AXValue failed(int32_t code) { return {Kind::error, code, {}}; }
    static AXValue of(bool b) { return {Kind::boolean, 0, b}; }
    static AXValue of(int64_t i) { return {Kind::integer, 0, i}; }
    static AXValue of(double d) { return {Kind::real, 0, d}; }
    static AXValue of(const QString& s) { return {Kind::string, 0, s}; }
    static AXValue of(Point p) { return {Kind::point, 0, p}; }
    static AXValue of(Size s) { return {Kind::size, 0, s}; }
    static AXValue of(const AXElement& e) { return {Kind::element, 0, e}; }
    static AXValue of(const std::vector<AXElement>& l) { return {Kind::elements, 0, l}; }
    static AXValue of(const QUrl& u) { return {Kind::url, 0, u}; }

    // Typed views: empty when the value is of another kind.
    std::optional<bool> asBool() const { return get<bool>(); }
    std::optional<int64_t> asInt() const { return get<int64_t>(); }
    std::optional<QString> asString() const { return get<QString>(); }
    std::optional<Point> asPoint() const { return get<Point>(); }
    std::optional<Size> asSize() const { return get<Size>(); }
    std::optional<AXElement> asElement() const { return get<AXElement>(); }
    std::optional<std::vector<AXElement>> asElements() const { return get<std::vector<AXElement>>(); }
    std::optional<QUrl> asUrl() const { return get<QUrl>(); }
    std::optional<double> asNumber() const {
        if (auto d = get<double>()) return d;
        if (auto i = get<int64_t>()) return static_cast<double>(*i);
        return std::nullopt;
    }
    // The error code of the read: success for a value, noValue for missing.
    int32_t errorCode() const {
        return kind == Kind::error ? error : kind == Kind::missing ? axerr::noValue : 0;
    }

private:
    template <class T>
    std::optional<T> get() const {
        if (auto p = std::get_if<T>(&value)) return *p;
        return std::nullopt;
    }
};

// The Accessibility API, attribute by attribute.
class Accessibility {
public:
    Accessibility() = default;
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;
    virtual ~Accessibility() = default;

    // Whether this process is trusted, without prompting.
    virtual bool isTrusted() const = 0;
    // The trust check that shows the system prompt when not trusted; returns the current state.
    virtual bool requestTrust() = 0;
    // Hear that the system's list of trusted applications changed (main thread); `isTrusted` may
    // answer the change a moment later.
    virtual Subscription observeTrustChanges(std::function<void()> handler) = 0;
    // The application element of a process.
    virtual AXElement application(int32_t pid) = 0;
    // The system-wide element.
    virtual AXElement systemWide() = 0;
    // Bound every request to this element by the timeout.
    virtual void setMessagingTimeout(const AXElement& element, double seconds) = 0;
    // Read an attribute.
    virtual AXValue attribute(const AXElement& element, const QString& name) = 0;
    // Write an attribute; returns the error code (0 on success).
    virtual int32_t setAttribute(const AXElement& element, const QString& name, const AXValue& value) = 0;
    // Perform an action such as "AXRaise" or "AXPress"; returns the error code.
    virtual int32_t performAction(const AXElement& element, const QString& action) = 0;
    // The window-server number of a window element (the private window getter).
    virtual std::optional<uint32_t> windowNumber(const AXElement& element) = 0;
    // The process id owning an element.
    virtual std::optional<int32_t> pid(const AXElement& element) = 0;
    // The element at a position (top-left-origin global coordinates) within an application.
    virtual AXValue elementAtPosition(const AXElement& application, Point position) = 0;
    // Whether the private remote-token constructor is available.
    virtual bool hasRemoteTokens() const = 0;
    // An element made from a 20-byte remote token; null when unavailable or it fails.
    virtual AXElement elementFromRemoteToken(const QByteArray& token) = 0;
    // Watch notifications of one application; the callback runs on the main thread with the
    // notification name and the element it concerns. Returns an empty subscription on failure
    // and the error code through `error`.
    virtual Subscription observe(int32_t pid, const std::vector<QString>& notifications,
                                 std::function<void(const QString&, const AXElement&)> callback,
                                 int32_t* error = nullptr) = 0;
};

} // namespace fenwold

#include "MacAccessibility.h"

#include "CFRef.h"
#include "DistributedNotifications.h"

#include <dlfcn.h>
#include <memory>

namespace fenwold {

namespace {

CFStringRef cfString(const QString& s) { return s.toCFString(); }

// Element references answer Core Foundation's polymorphic functions (AXUIElement.h): two made
// apart name the same element when CFEqual says so, and then have the same CFHash.
bool sameElement(const void* a, const void* b) { return CFEqual(a, b); }

// Takes over a reference the caller owns (+1).
AXElement adopt(AXUIElementRef ref) {
    if (!ref)
        return {};
    return AXElement(CFHash(ref),
                     std::shared_ptr<void>(const_cast<void*>(static_cast<const void*>(ref)),
                                           [](void* p) { CFRelease(p); }),
                     &sameElement);
}

// Shares a reference owned by someone else.
AXElement share(AXUIElementRef ref) {
    if (!ref)
        return {};
    CFRetain(ref);
    return adopt(ref);
}

AXUIElementRef ref(const AXElement& element) { return static_cast<AXUIElementRef>(element.retained().get()); }

AXValue convert(CFTypeRef value) {
    if (!value)
        return AXValue::missing();
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFBooleanGetTypeID())
        return AXValue::of(static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(value))));
    if (type == CFNumberGetTypeID()) {
        const auto number = static_cast<CFNumberRef>(value);
        if (CFNumberIsFloatType(number)) {
            double d = 0;
            CFNumberGetValue(number, kCFNumberDoubleType, &d);
            return AXValue::of(d);
        }
        int64_t i = 0;
        CFNumberGetValue(number, kCFNumberSInt64Type, &i);
        return AXValue::of(i);
    }
    if (type == CFStringGetTypeID())
        return AXValue::of(QString::fromCFString(static_cast<CFStringRef>(value)));
    if (type == CFURLGetTypeID())
        return AXValue::of(QUrl::fromCFURL(static_cast<CFURLRef>(value)));
    if (type == AXUIElementGetTypeID())
        return AXValue::of(share(static_cast<AXUIElementRef>(value)));
    if (type == AXValueGetTypeID()) {
        const auto v = static_cast<AXValueRef>(value);
        CGPoint p;
        if (AXValueGetType(v) == kAXValueTypeCGPoint && AXValueGetValue(v, kAXValueTypeCGPoint, &p))
            return AXValue::of(Point{p.x, p.y});
        CGSize s;
        if (AXValueGetType(v) == kAXValueTypeCGSize && AXValueGetValue(v, kAXValueTypeCGSize, &s))
            return AXValue::of(Size{s.width, s.height});
        return AXValue::missing();
    }
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        std::vector<AXElement> elements;
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            CFTypeRef item = CFArrayGetValueAtIndex(array, i);
            if (!item || CFGetTypeID(item) != AXUIElementGetTypeID())
                return AXValue::missing();
            elements.push_back(share(static_cast<AXUIElementRef>(item)));
        }
        return AXValue::of(elements);
    }
    return AXValue::missing();
}

// A new reference for a value to write; null for kinds that cannot be written.
CFTypeRef create(const AXValue& value) {
    switch (value.kind) {
    case AXValue::Kind::boolean:
        return CFRetain(*value.asBool() ? kCFBooleanTrue : kCFBooleanFalse);
    case AXValue::Kind::integer: {
        const int64_t i = *value.asInt();
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, &i);
    }
    case AXValue::Kind::real: {
        const double d = *value.asNumber();
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberDoubleType, &d);
    }
    case AXValue::Kind::string:
        return cfString(*value.asString());
    case AXValue::Kind::point: {
        const CGPoint p = CGPointMake(value.asPoint()->x, value.asPoint()->y);
        return AXValueCreate(kAXValueTypeCGPoint, &p);
    }
    case AXValue::Kind::size: {
        const CGSize s = CGSizeMake(value.asSize()->width, value.asSize()->height);
        return AXValueCreate(kAXValueTypeCGSize, &s);
    }
    case AXValue::Kind::element:
        return value.asElement()->retained() ? CFRetain(ref(*value.asElement())) : nullptr;
    default:
        return nullptr;
    }
}

// One observer with its callback; the context outlives every delivery to it.
struct ObserverContext {
    std::function<void(const QString&, const AXElement&)> callback;
};

void deliver(AXObserverRef, AXUIElementRef element, CFStringRef notification, void* refcon) {
    auto* context = static_cast<ObserverContext*>(refcon);
    context->callback(QString::fromCFString(notification), share(element));
}

} // namespace

MacAccessibility::MacAccessibility()
    : getWindow_(reinterpret_cast<GetWindow>(dlsym(RTLD_DEFAULT, "_AXUIElementGetWindow"))),
      createWithRemoteToken_(
          reinterpret_cast<CreateWithRemoteToken>(dlsym(RTLD_DEFAULT, "_AXUIElementCreateWithRemoteToken"))) {
}

bool MacAccessibility::isTrusted() const { return AXIsProcessTrusted(); }

bool MacAccessibility::requestTrust() {
    const void* keys[] = {kAXTrustedCheckOptionPrompt};
    const void* values[] = {kCFBooleanTrue};
    CFRef<CFDictionaryRef> options(CFDictionaryCreate(kCFAllocatorDefault, keys, values, 1,
                                                      &kCFTypeDictionaryKeyCallBacks,
                                                      &kCFTypeDictionaryValueCallBacks));
    return AXIsProcessTrustedWithOptions(options.get());
}

// Posted when the list of applications allowed to use Accessibility changes; undocumented, and
// AXIsProcessTrusted may still give the old answer for a moment after it.
Subscription MacAccessibility::observeTrustChanges(std::function<void()> handler) {
    return observeDistributedNotification(QStringLiteral("com.apple.accessibility.api"), std::move(handler));
}

AXElement MacAccessibility::application(int32_t pid) { return adopt(AXUIElementCreateApplication(pid)); }

AXElement MacAccessibility::systemWide() { return adopt(AXUIElementCreateSystemWide()); }

void MacAccessibility::setMessagingTimeout(const AXElement& element, double seconds) {
    if (ref(element))
        AXUIElementSetMessagingTimeout(ref(element), static_cast<float>(seconds));
}

AXValue MacAccessibility::attribute(const AXElement& element, const QString& name) {
    if (!ref(element))
        return AXValue::failed(kAXErrorInvalidUIElement);
    CFRef<CFStringRef> attribute(cfString(name));
    CFRef<CFTypeRef> value;
    const AXError error = AXUIElementCopyAttributeValue(ref(element), attribute.get(), value.out());
    if (error != kAXErrorSuccess)
        return AXValue::failed(error);
    return convert(value.get());
}

int32_t MacAccessibility::setAttribute(const AXElement& element, const QString& name, const AXValue& value) {
    CFRef<CFTypeRef> converted(create(value));
    if (!ref(element) || !converted)
        return kAXErrorIllegalArgument;
    CFRef<CFStringRef> attribute(cfString(name));
    return AXUIElementSetAttributeValue(ref(element), attribute.get(), converted.get());
}

int32_t MacAccessibility::performAction(const AXElement& element, const QString& action) {
    if (!ref(element))
        return kAXErrorInvalidUIElement;
    CFRef<CFStringRef> name(cfString(action));
    return AXUIElementPerformAction(ref(element), name.get());
}

std::optional<uint32_t> MacAccessibility::windowNumber(const AXElement& element) {
    CGWindowID number = 0;
    if (!getWindow_ || !ref(element) || getWindow_(ref(element), &number) != kAXErrorSuccess)
        return std::nullopt;
    return number;
}

std::optional<int32_t> MacAccessibility::pid(const AXElement& element) {
    pid_t owner = 0;
    if (!ref(element) || AXUIElementGetPid(ref(element), &owner) != kAXErrorSuccess)
        return std::nullopt;
    return owner;
}

AXValue MacAccessibility::elementAtPosition(const AXElement& application, Point position) {
    if (!ref(application))
        return AXValue::failed(kAXErrorInvalidUIElement);
    AXUIElementRef hit = nullptr;
    const AXError error = AXUIElementCopyElementAtPosition(ref(application), static_cast<float>(position.x),
                                                           static_cast<float>(position.y), &hit);
    if (error != kAXErrorSuccess)
        return AXValue::failed(error);
    return AXValue::of(adopt(hit));
}

bool MacAccessibility::hasRemoteTokens() const { return createWithRemoteToken_ != nullptr; }

AXElement MacAccessibility::elementFromRemoteToken(const QByteArray& token) {
    if (!createWithRemoteToken_)
        return {};
    CFRef<CFDataRef> data(
        CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(token.constData()), token.size()));
    return adopt(createWithRemoteToken_(data.get()));
}

Subscription MacAccessibility::observe(int32_t pid, const std::vector<QString>& notifications,
                                       std::function<void(const QString&, const AXElement&)> callback,
                                       int32_t* error) {
    AXObserverRef observer = nullptr;
    AXError status = AXObserverCreate(pid, deliver, &observer);
    if (status != kAXErrorSuccess || !observer) {
        if (error)
            *error = status;
        return {};
    }
    auto* context = new ObserverContext{std::move(callback)};
    CFRef<AXUIElementRef> application(AXUIElementCreateApplication(pid));
    bool added = false;
    for (const QString& name : notifications) {
        CFRef<CFStringRef> notification(cfString(name));
        status = AXObserverAddNotification(observer, application.get(), notification.get(), context);
        added = added || status == kAXErrorSuccess;
    }
    if (!added) {
        if (error)
            *error = status;
        CFRelease(observer);
        delete context;
        return {};
    }
    if (error)
        *error = kAXErrorSuccess;
    // In the common modes, so notifications still arrive while a menu tracks the pointer.
    CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer), kCFRunLoopCommonModes);
    return Subscription([observer, context] {
        // Nothing is delivered after this. The observer and its callback go once the run loop
        // has returned from the delivery that may be running now: a callback may end its own
        // subscription.
        CFRunLoopRemoveSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                              kCFRunLoopCommonModes);
        CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopCommonModes, ^{
          CFRelease(observer);
          delete context;
        });
        CFRunLoopWakeUp(CFRunLoopGetMain());
    });
}

} // namespace fenwold

#include "MacWindowServer.h"

#include "CFRef.h"
#include "MacImages.h"

#include <dlfcn.h>

namespace fenwold {

namespace {

CFTypeRef field(CFDictionaryRef d, CFStringRef key) { return CFDictionaryGetValue(d, key); }

std::optional<int64_t> integer(CFDictionaryRef d, CFStringRef key) {
    CFTypeRef v = field(d, key);
    int64_t out = 0;
    if (!v || CFGetTypeID(v) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(v), kCFNumberSInt64Type, &out))
        return std::nullopt;
    return out;
}

std::optional<double> real(CFDictionaryRef d, CFStringRef key) {
    CFTypeRef v = field(d, key);
    double out = 0;
    if (!v || CFGetTypeID(v) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(v), kCFNumberDoubleType, &out))
        return std::nullopt;
    return out;
}

std::optional<QString> string(CFDictionaryRef d, CFStringRef key) {
    CFTypeRef v = field(d, key);
    if (!v || CFGetTypeID(v) != CFStringGetTypeID())
        return std::nullopt;
    return QString::fromCFString(static_cast<CFStringRef>(v));
}

std::optional<bool> boolean(CFDictionaryRef d, CFStringRef key) {
    CFTypeRef v = field(d, key);
    if (!v || CFGetTypeID(v) != CFBooleanGetTypeID())
        return std::nullopt;
    return static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(v)));
}

std::optional<Rect> bounds(CFDictionaryRef d, CFStringRef key) {
    CFTypeRef v = field(d, key);
    CGRect r;
    if (!v || CFGetTypeID(v) != CFDictionaryGetTypeID() ||
        !CGRectMakeWithDictionaryRepresentation(static_cast<CFDictionaryRef>(v), &r))
        return std::nullopt;
    return Rect{r.origin.x, r.origin.y, r.size.width, r.size.height};
}

} // namespace

MacWindowServer::MacWindowServer()
    : createImage_(reinterpret_cast<CreateImage>(dlsym(RTLD_DEFAULT, "CGWindowListCreateImage"))) {}

std::vector<WindowDescription> MacWindowServer::windowList(uint32_t options, uint32_t relativeTo) const {
    std::vector<WindowDescription> out;
    CFRef<CFArrayRef> list(CGWindowListCopyWindowInfo(options, relativeTo));
    if (!list)
        return out;
    const CFIndex count = CFArrayGetCount(list.get());
    out.reserve(static_cast<std::size_t>(count));
    for (CFIndex i = 0; i < count; ++i) {
        CFTypeRef item = CFArrayGetValueAtIndex(list.get(), i);
        if (!item || CFGetTypeID(item) != CFDictionaryGetTypeID())
            continue;
        const auto d = static_cast<CFDictionaryRef>(item);
        WindowDescription w;
        if (auto n = integer(d, kCGWindowNumber))
            w.number = static_cast<uint32_t>(*n);
        w.layer = integer(d, kCGWindowLayer);
        if (auto p = integer(d, kCGWindowOwnerPID))
            w.ownerPid = static_cast<int32_t>(*p);
        w.ownerName = string(d, kCGWindowOwnerName);
        w.name = string(d, kCGWindowName);
        w.alpha = real(d, kCGWindowAlpha);
        w.bounds = bounds(d, kCGWindowBounds);
        w.isOnscreen = boolean(d, kCGWindowIsOnscreen);
        out.push_back(std::move(w));
    }
    return out;
}

QImage MacWindowServer::windowImage(Rect area, uint32_t listOptions, uint32_t window,
                                    uint32_t imageOptions) const {
    if (!createImage_)
        return {};
    const CGRect rect = area.isEmpty() ? CGRectNull : CGRectMake(area.x, area.y, area.width, area.height);
    CFRef<CGImageRef> image(createImage_(rect, listOptions, window, imageOptions));
    return qImageFromCGImage(image.get());
}

bool MacWindowServer::preflightScreenCapture() const { return CGPreflightScreenCaptureAccess(); }

bool MacWindowServer::requestScreenCapture() { return CGRequestScreenCaptureAccess(); }

} // namespace fenwold

#include "MacImages.h"

#include "CFRef.h"

namespace fenwold {

QImage qImageFromCGImage(CGImageRef image) {
    if (!image)
        return {};
    const size_t width = CGImageGetWidth(image);
    const size_t height = CGImageGetHeight(image);
    QImage out(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    CFRef<CGColorSpaceRef> space(CGColorSpaceCreateDeviceRGB());
    CFRef<CGContextRef> context(CGBitmapContextCreate(out.bits(), width, height, 8, out.bytesPerLine(),
                                                      space.get(),
                                                      static_cast<uint32_t>(kCGImageAlphaPremultipliedFirst) |
                                                          static_cast<uint32_t>(kCGBitmapByteOrder32Little)));
    if (!context)
        return {};
    CGContextDrawImage(context.get(), CGRectMake(0, 0, width, height), image);
    return out;
}

} // namespace fenwold

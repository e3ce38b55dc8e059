#include "MacScreenCapture.h"

#include "MacImages.h"

#import <ScreenCaptureKit/ScreenCaptureKit.h>

#include <mutex>

namespace fenwold {

struct MacScreenCapture::Known {
    std::mutex mutex;
    NSDictionary<NSNumber*, SCWindow*>* windows = @{};
};

MacScreenCapture::MacScreenCapture() : known_(std::make_shared<Known>()) {}

MacScreenCapture::~MacScreenCapture() = default;

void MacScreenCapture::shareableWindows(std::function<void(std::optional<std::vector<uint32_t>>)> done) {
    std::shared_ptr<Known> known = known_;
    [SCShareableContent
        getShareableContentExcludingDesktopWindows:YES
                               onScreenWindowsOnly:NO
                                 completionHandler:^(SCShareableContent* content, NSError* error) {
                                   if (error || !content) {
                                       done(std::nullopt);
                                       return;
                                   }
                                   std::vector<uint32_t> ids;
                                   NSMutableDictionary<NSNumber*, SCWindow*>* byID =
                                       [NSMutableDictionary dictionary];
                                   for (SCWindow* w in content.windows) {
                                       ids.push_back(w.windowID);
                                       byID[@(w.windowID)] = w;
                                   }
                                   {
                                       std::lock_guard lock(known->mutex);
                                       known->windows = [byID copy];
                                   }
                                   done(ids);
                                 }];
}

void MacScreenCapture::captureWindow(uint32_t window, int width, int height,
                                     std::function<void(QImage)> done) {
    SCWindow* target = nil;
    {
        std::lock_guard lock(known_->mutex);
        target = known_->windows[@(window)];
    }
    if (!target) {
        done({});
        return;
    }
    SCContentFilter* filter = [[SCContentFilter alloc] initWithDesktopIndependentWindow:target];
    SCStreamConfiguration* configuration = [[SCStreamConfiguration alloc] init];
    configuration.width = static_cast<size_t>(width);
    configuration.height = static_cast<size_t>(height);
    configuration.showsCursor = NO;
    configuration.scalesToFit = YES;
    [SCScreenshotManager captureImageWithFilter:filter
                                  configuration:configuration
                              completionHandler:^(CGImageRef image, NSError* error) {
                                (void)error; // a failed capture delivers no image
                                done(qImageFromCGImage(image));
                              }];
}

} // namespace fenwold

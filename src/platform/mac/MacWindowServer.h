#pragma once

#include "ports/WindowServer.h"

#include <CoreGraphics/CoreGraphics.h>

namespace fenwold {

// The window list, window images and the Screen Recording permission. The direct image call is
// looked up at run time because newer SDKs no longer declare it.
class MacWindowServer final : public WindowServer {
  public:
    MacWindowServer();

    std::vector<WindowDescription> windowList(uint32_t options, uint32_t relativeTo) const override;
    QImage windowImage(Rect area, uint32_t listOptions, uint32_t window,
                       uint32_t imageOptions) const override;
    bool preflightScreenCapture() const override;
    bool requestScreenCapture() override;

  private:
    using CreateImage = CGImageRef (*)(CGRect, CGWindowListOption, CGWindowID, CGWindowImageOption);
    CreateImage createImage_ = nullptr;
};

} // namespace fenwold

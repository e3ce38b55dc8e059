#pragma once

#include "SimApplication.h"

#include <map>

namespace fenwold {

// An image viewer showing one picture; Command+C puts it on the pasteboard as PNG.
class ImageViewerApp final : public SimApplication {
public:
    explicit ImageViewerApp(SimSession& session);

    uint32_t openImage(const QString& title, const QImage& image, Rect frame);
    QStringList content(uint32_t window) const override;
    QImage picture(uint32_t window) const override;
    // A small generated landscape, so the playground needs no image files.
    static QImage sampleImage();

protected:
    bool handleKey(std::optional<uint32_t> window, const AppKey& key) override;

private:
    std::map<uint32_t, QImage> images_;
};

} // namespace fenwold

#pragma once

#include "core/snap/SnapLayoutPanel.h"
#include "ports/FloatingPanel.h"
#include "ports/Subscription.h"

#include <QRectF>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace fenwold {

// Where everything of the snap-layouts panel goes: each layout as a picture of the display
// in its proportions with the zones drawn in it, and its digit under it, in rows.
struct SnapLayoutGeometry {
    static constexpr double kPadding = 14, kGap = 14, kThumbWidth = 112, kCaption = 18, kZoneGap = 4,
                            kThumbInset = 4, kThumbRadius = 7, kZoneRadius = 4;

    struct Zone {
        int layout = 0;
        int zone = 0;
        friend bool operator==(const Zone&, const Zone&) = default;
    };

    explicit SnapLayoutGeometry(const SnapLayoutState& state);
    QSizeF size() const { return size_; }
    // The picture of a layout, its digit's box under it, and one zone inside the picture.
    QRectF thumbRect(int layout) const;
    QRectF captionRect(int layout) const;
    QRectF zoneRect(int layout, int zone) const;
    std::optional<Zone> zoneAt(QPointF point) const;

private:
    const SnapLayoutState* state_;
    double thumbHeight_;
    QSizeF size_;
};

// The content of the snap-layouts panel, custom-painted on the panels' glass. It reads the state
// it is given and reports clicks on zones; the one state it owns is the zone under the pointer.
class SnapLayoutView final : public QWidget {
public:
    explicit SnapLayoutView(QWidget* parent = nullptr);

    void setState(const SnapLayoutState& state);
    const SnapLayoutState& state() const { return state_; }
    void setCornerRadius(double radius) { radius_ = radius; }
    QSize sizeHint() const override;
    std::optional<SnapLayoutGeometry::Zone> hoveredZone() const { return hovered_; }
    // The content as an image, for snapshots.
    QImage render(double scale = 2.0) const;

    std::function<void(int layout, int zone)> onPick;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;

private:
    void paintContent(QPainter& painter) const;

    SnapLayoutState state_;
    double radius_ = 16;
    std::optional<SnapLayoutGeometry::Zone> hovered_;
};

class PanelHost;

// The snap-layouts view in a floating panel of the host; while it shows, a click outside it is
// reported.
class SnapLayoutPanelWidget final : public SnapLayoutPanel {
public:
    SnapLayoutPanelWidget(const PanelHost& host, const PanelStyle& style);
    ~SnapLayoutPanelWidget() override;

    Size measure(const SnapLayoutState& state) const override;
    void show(const SnapLayoutState& state, const Rect& frame) override;
    void orderOut() override;
    bool isVisible() const override;

    SnapLayoutView& view() const { return *view_; }
    FloatingPanel& panel() const { return *panel_; }

private:
    std::unique_ptr<SnapLayoutView> view_;
    std::unique_ptr<FloatingPanel> panel_; // goes before the view it hosts
    Subscription clicks_;
};

} // namespace fenwold

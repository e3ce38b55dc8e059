#pragma once

#include "RoundedPreviews.h"
#include "core/switcher/TileGrid.h"
#include "core/switcher/TileOperations.h"
#include "ui/common/HiddenForAWhile.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace fenwold {

// The tile grid on its translucent backdrop, shared by the switcher, the Dock peek and snap
// assist. It only reads the model and reports tile actions; the one state it owns is which
// tile the pointer is over.
class SwitcherView final : public QWidget {
public:
    SwitcherView(SwitcherModel& model, const Metrics& metrics, QWidget* parent = nullptr);
    ~SwitcherView() override;

    void setRows(std::vector<std::vector<int>> rows);
    void setHeader(std::optional<QString> header);
    void setCornerRadius(double radius) { radius_ = radius; }
    // Size of the whole view for the current rows and header.
    QSize preferredSize() const;
    // Size of a view of these rows, with or without a header line.
    static QSize sizeFor(const SwitcherModel& model, const Metrics& metrics,
                         const std::vector<std::vector<int>>& rows, bool hasHeader);
    std::function<void(int index, TileAction action)> onAction;

    // Geometry, for placing panels and for tests (view coordinates).
    QRectF tileRect(int index) const;
    QRectF previewRect(int index) const;
    QRectF buttonRect(int index, TileAction action) const;
    int hoveredTile() const { return hovered_; }
    // Previews kept as last drawn; let go once the view has been hidden for a while.
    std::size_t keptPreviews() const { return previews_.size(); }
    const SwitcherModel& model() const { return model_; }
    // The four hover buttons in order, with their tooltips.
    static const std::vector<TileAction>& buttonActions();
    QString tooltip(int index, TileAction action) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Hit {
        int index = -1;
        std::optional<TileAction> button;
    };
    Hit hitTest(QPointF point) const;
    static double headerHeight(bool hasHeader);
    void paintTile(QPainter& painter, int index);

    SwitcherModel& model_;
    const Metrics& metrics_;
    int observer_;
    std::vector<std::vector<int>> rows_;
    std::optional<QString> header_;
    double radius_ = 24;
    int hovered_ = -1;
    RoundedPreviews previews_;
    HiddenForAWhile forgetPreviews_{*this, [this] { previews_.clear(); }};
};

} // namespace fenwold

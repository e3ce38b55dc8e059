#include "TileGridPanelWidget.h"

#include "SwitcherView.h"
#include "ui/common/PanelHost.h"

namespace fenwold {

TileGridPanelWidget::TileGridPanelWidget(SwitcherModel& model, const Metrics& metrics, const PanelHost& host,
                                         const PanelStyle& style)
    : model_(model), metrics_(metrics), view_(std::make_unique<SwitcherView>(model, metrics)) {
    view_->setCornerRadius(style.cornerRadius);
    panel_ = host.makePanel(*view_, style);
    view_->onAction = [this](int index, TileAction action) {
        if (onAction) onAction(index, action);
    };
}

TileGridPanelWidget::~TileGridPanelWidget() {
    panel_.reset();
}

Size TileGridPanelWidget::measure(const std::vector<std::vector<int>>& rows,
                                  const std::optional<QString>& header) const {
    const QSize size = SwitcherView::sizeFor(model_, metrics_, rows, header.has_value());
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

void TileGridPanelWidget::show(const std::vector<std::vector<int>>& rows,
                               const std::optional<QString>& header, const Rect& frame) {
    view_->setRows(rows);
    view_->setHeader(header);
    frame_ = frame;
    panel_->setFrame(frame);
    panel_->setAlpha(1);
    panel_->orderFront();
    view_->update();
}

void TileGridPanelWidget::orderOut() {
    panel_->orderOut();
}

bool TileGridPanelWidget::isVisible() const {
    return panel_->isVisible();
}

} // namespace fenwold

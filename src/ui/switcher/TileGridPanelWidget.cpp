#include "TileGridPanelWidget.h"

#include "SwitcherView.h"
#include "ui/common/PanelHost.h"

namespace fenwold {

TileGridPanelWidget::TileGridPanelWidget(SwitcherModel& model, const Metrics& metrics, const PanelHost& host,
                                         double cornerRadius)
    : model_(model), metrics_(metrics), host_(host), view_(std::make_unique<SwitcherView>(model, metrics)) {
    host_.adopt(*view_, true);
    view_->hide(); // a panel appears only when shown

    view_->setCornerRadius(cornerRadius);
    view_->onAction = [this](int index, TileAction action) {
        if (onAction) onAction(index, action);
    };
}

TileGridPanelWidget::~TileGridPanelWidget() = default;

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
    view_->setGeometry(host_.toWidget(frame));
    view_->show();
    view_->raise();
    view_->update();
}

void TileGridPanelWidget::orderOut() {
    view_->hide();
}

bool TileGridPanelWidget::isVisible() const {
    return view_->isVisible();
}

} // namespace fenwold

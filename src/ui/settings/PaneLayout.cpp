#include "PaneLayout.h"

#include <QFrame>

namespace fenwold::pane {

QVBoxLayout* stack(QWidget* pane, int width) {
    auto* layout = new QVBoxLayout(pane);
    layout->setSpacing(kSpacing);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    pane->setFixedWidth(width + 2 * kPadding);
    return layout;
}

QLabel* detailLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QWidget* option(QCheckBox* box, const QString& detail) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(box);
    auto* text = detailLabel(detail);
    text->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(text);
    return row;
}

QWidget* divider() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace fenwold::pane

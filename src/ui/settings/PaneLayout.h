#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace fenwold::pane {

inline constexpr int kWidth = 400;
inline constexpr int kPadding = 20;
inline constexpr int kSpacing = 16;

// A vertical stack with the panes' spacing and padding, content kWidth wide.
QVBoxLayout* stack(QWidget* pane, int width = kWidth);
// A checkbox with its title and, under it, the detail in a smaller secondary text indented 20.
QWidget* option(QCheckBox* box, const QString& detail);
// A detail text in the secondary colour at the subheadline size.
QLabel* detailLabel(const QString& text);
QWidget* divider();

} // namespace fenwold::pane

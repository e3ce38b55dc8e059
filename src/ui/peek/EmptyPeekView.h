#pragma once

#include "core/peek/EmptyPeekPanel.h"
#include "ports/FloatingPanel.h"

#include <QWidget>
#include <memory>

namespace fenwold {

class PanelHost;

// The small glass label of an empty Dock peek ("No windows", "Not running").
class EmptyPeekView final : public QWidget {
public:
    static constexpr int kFontSize = 12;
    static constexpr int kPadX = 12;
    static constexpr int kPadY = 7;
    static constexpr double kRadius = 10;

    explicit EmptyPeekView(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    // The natural size of the label for a text.
    static QSize sizeFor(const QString& text);
    QSize sizeHint() const override { return sizeFor(text_); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QFont labelFont();
    QString text_;
};

// The empty-peek panel on a panel host; it lets every click through.
class EmptyPeekPanelWidget final : public EmptyPeekPanel {
public:
    EmptyPeekPanelWidget(const PanelHost& host, const PanelStyle& style);
    ~EmptyPeekPanelWidget() override;

    Size measure(const QString& text) const override;
    void show(const QString& text, const Rect& frame) override;
    void orderOut() override;
    bool isVisible() const override;

    EmptyPeekView& view() const { return *view_; }

private:
    std::unique_ptr<EmptyPeekView> view_;
    std::unique_ptr<FloatingPanel> panel_; // goes before the view it hosts
};

} // namespace fenwold

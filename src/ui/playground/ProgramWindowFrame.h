#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

namespace fenwold {

// One of the program's regular windows inside the simulated screen: the window sits below a title
// bar drawn like the applications' ones, the frame follows the window's size, the close button
// hides it (the window is kept) and the title bar drags it, never above `topLimit`.
class ProgramWindowFrame final : public QWidget {
public:
    ProgramWindowFrame(QWidget& window, QWidget& screen, int topLimit);
    ~ProgramWindowFrame() override;

    QWidget* content() const { return content_; }
    // A press anywhere on the window or its controls: the window becomes the key window.
    std::function<void()> onPressed;
    // In the frame's own coordinates.
    QRect closeButtonRect() const;
    // The lowest row of the screen the frame may cover (the top of the Dock).
    void setBottomLimit(int bottom) {
        bottomLimit_ = bottom;
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void fit();

    QPointer<QWidget> content_;
    int topLimit_;
    std::optional<int> bottomLimit_;
    std::optional<QPoint> grab_;
};

} // namespace fenwold

#pragma once

#include <QMainWindow>

class QAction;
class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QPlainTextEdit;

namespace fenwold {

class PlaygroundSession;

// The playground's window: the simulated screen scaled to fit (aspect kept; mouse input goes
// through the same scale), a hideable event log beside it, and a toolbar with the
// keyboard-capture toggle. While the keyboard is captured every key goes to the
// simulated Mac, shortcuts the host desktop would take included; Ctrl+Alt+Esc or the toggle
// gives it back.
class PlaygroundWindow final : public QMainWindow {
public:
    explicit PlaygroundWindow(PlaygroundSession& playground);
    ~PlaygroundWindow() override;

    bool capturing() const { return capturing_; }
    void setCapturing(bool on);
    QAction* captureAction() const { return capture_; }
    QPlainTextEdit* logPane() const { return logPane_; }
    // The view showing the screen, and how much it is scaled.
    QGraphicsView* screenView() const { return view_; }
    double screenScale() const;

private:
    PlaygroundSession& playground_;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QGraphicsProxyWidget* screen_ = nullptr;
    QPlainTextEdit* logPane_ = nullptr;
    QAction* capture_ = nullptr;
    QLabel* status_ = nullptr;
    bool capturing_ = false;
};

} // namespace fenwold

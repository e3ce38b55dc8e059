#pragma once

#include "ports/Subscription.h"

#include <QMainWindow>
#include <QSize>

class QAction;
class QComboBox;
class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QPlainTextEdit;
class QToolBar;

namespace fenwold {

class PlaygroundSession;

// The playground's window: the simulated screen scaled to fit (aspect kept; mouse input goes
// through the same scale), a hideable event log beside it, and a toolbar with the
// keyboard-capture toggle and the simulated Mac's keyboard layout. While the keyboard is captured every key
// goes to the simulated Mac, shortcuts the host desktop would take included; Ctrl+Alt+Esc or the toggle gives
// it back.
class PlaygroundWindow final : public QMainWindow {
public:
    explicit PlaygroundWindow(PlaygroundSession& playground);
    // The size for the built-in display with the event log: a played script's window has it, so
    // that its pictures are the same everywhere.
    static constexpr QSize kScriptedSize{1440 + 380, 900 + 80};
    ~PlaygroundWindow() override;

    bool capturing() const { return capturing_; }
    void setCapturing(bool on);
    QAction* captureAction() const { return capture_; }
    QPlainTextEdit* logPane() const { return logPane_; }
    // The keyboard layouts, the selected one current; choosing one selects it on the simulated Mac.
    QComboBox* layoutChooser() const { return layouts_; }
    // The view showing the screen, and how much it is scaled.
    QGraphicsView* screenView() const { return view_; }
    double screenScale() const;

private:
    void addLayoutChooser(QToolBar& toolbar);

    PlaygroundSession& playground_;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QGraphicsProxyWidget* screen_ = nullptr;
    QPlainTextEdit* logPane_ = nullptr;
    QAction* capture_ = nullptr;
    QComboBox* layouts_ = nullptr;
    Subscription layoutChanges_;
    QLabel* status_ = nullptr;
    bool capturing_ = false;
};

} // namespace fenwold

#pragma once

#include "ClipboardShelfView.h"
#include "core/clipboard/ShelfPanel.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QKeyEvent;
class QVariantAnimation;

namespace fenwold {

class Screens;

// The shelf's floating window in Qt: a frameless tool window above normal windows that shows
// without activating, holding the shelf view. Frames arrive in screen coordinates (origin
// bottom-left of the primary screen) and are turned into Qt's top-left coordinates here.
class QtShelfPanel final : public QObject, public ShelfPanel {
    Q_OBJECT
public:
    QtShelfPanel(const ShelfViewContext& context, ShelfStyle style, Screens& screens,
                 std::function<double()> now);
    ~QtShelfPanel() override;

    void place(const Rect& frame, double alpha) override;
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void makeKeyAndOrderFront() override;
    void resignKey() override;
    void orderOut() override;
    bool isKeyWindow() const override;
    void clearFirstResponder() override;
    bool editingText() const override;
    Subscription monitorKeys(std::function<bool(const ShelfKeyEvent&)> handler) override;
    Subscription monitorClicks(std::function<void(bool inPanel)> handler) override;

    QWidget* window() const { return window_.get(); }
    // Off where nothing runs Qt's clock (a simulated screen on a virtual one): animations jump
    // to their end.
    void setAnimates(bool on) { animates_ = on; }
    ClipboardShelfView* view() const { return view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect toQt(const Rect& frame) const;
    bool belongsToPanel(QObject* object) const;

    Screens* screens_;
    std::unique_ptr<QWidget> window_;
    ClipboardShelfView* view_ = nullptr;
    QVariantAnimation* animation_ = nullptr;
    std::function<bool(const ShelfKeyEvent&)> keys_;
    std::function<void(bool)> clicks_;
    bool animates_ = true;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

// A Qt key press as the shelf sees it: the platform's virtual key code, its modifier flags
// (Qt's Control is the Command key, its Meta the Control key) and the typed characters.
ShelfKeyEvent shelfKeyEvent(const QKeyEvent& event);

} // namespace fenwold

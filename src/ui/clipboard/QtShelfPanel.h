#pragma once

#include "ClipboardShelfView.h"
#include "core/clipboard/ShelfPanel.h"
#include "ports/FloatingPanel.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QKeyEvent;

namespace fenwold {

class PanelHost;

// The shelf's panel: the shelf view in a floating panel of the host, with the keys typed into
// it. The keyboard focus inside it is Qt's: the panel only becomes the key window.
class QtShelfPanel final : public QObject, public ShelfPanel {
    Q_OBJECT
public:
    QtShelfPanel(const ShelfViewContext& context, ShelfStyle style, std::function<double()> now,
                 const PanelHost& host, const PanelStyle& panelStyle);
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
    ClipboardShelfView* view() const { return view_; }
    FloatingPanel& panel() const { return *panel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QWidget> window_;
    ClipboardShelfView* view_ = nullptr;
    std::unique_ptr<FloatingPanel> panel_; // goes before the content it hosts
    std::function<bool(const ShelfKeyEvent&)> keys_;
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

// A Qt key press as the shelf sees it: the platform's virtual key code, its modifier flags
// (Qt's Control is the Command key, its Meta the Control key) and the typed characters.
ShelfKeyEvent shelfKeyEvent(const QKeyEvent& event);

} // namespace fenwold

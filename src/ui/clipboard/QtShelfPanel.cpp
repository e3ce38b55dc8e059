#include "QtShelfPanel.h"

#include "ports/KeyCodes.h"
#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace fenwold {

namespace {

// Virtual key codes of the keys the shelf distinguishes.
const QHash<int, uint16_t>& keyCodes() {
    static const QHash<int, uint16_t> codes = [] {
        QHash<int, uint16_t> c = {
            {Qt::Key_Return, kReturn},
            {Qt::Key_Enter, kKeypadEnter},
            {Qt::Key_Tab, kTab},
            {Qt::Key_Space, kSpace},
            {Qt::Key_Backspace, kDelete},
            {Qt::Key_Delete, kFwdDelete},
            {Qt::Key_Escape, kEsc},
            {Qt::Key_Left, kLeft},
            {Qt::Key_Right, kRight},
            {Qt::Key_Down, kDown},
            {Qt::Key_Up, kUp},
        };
        for (std::size_t i = 0; i < kLetterKeys.size(); ++i)
            c.insert(Qt::Key_A + static_cast<int>(i), kLetterKeys[i]);
        for (std::size_t i = 0; i < kDigitKeys.size(); ++i)
            c.insert(Qt::Key_0 + static_cast<int>(i), kDigitKeys[i]);
        return c;
    }();
    return codes;
}

} // namespace

ShelfKeyEvent shelfKeyEvent(const QKeyEvent& event) {
    ShelfKeyEvent key;
    key.keyCode = keyCodes().value(event.key(), 0xFFFF);
    const auto mods = event.modifiers();
    if (mods & Qt::ShiftModifier) key.flags |= flag::shift;
    if (mods & Qt::MetaModifier) key.flags |= flag::control;
    if (mods & Qt::AltModifier) key.flags |= flag::option;
    if (mods & Qt::ControlModifier) key.flags |= flag::command;
    key.characters = event.text();
    key.isRepeat = event.isAutoRepeat();
    return key;
}

QtShelfPanel::QtShelfPanel(const ShelfViewContext& context, ShelfStyle style, std::function<double()> now,
                           const PanelHost& host, const PanelStyle& panelStyle)
    : window_(std::make_unique<QWidget>()) {
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    // The controller sizes the window; the content never forces a minimum on it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    style.blurredBehind = host.blursBehind();
    view_ = new ClipboardShelfView(context, style, std::move(now), window_.get());
    layout->addWidget(view_);
    panel_ = host.makePanel(*window_, panelStyle);
    qApp->installEventFilter(this);
}

QtShelfPanel::~QtShelfPanel() {
    qApp->removeEventFilter(this);
    panel_.reset();
}

void QtShelfPanel::place(const Rect& frame, double alpha) {
    panel_->setFrame(frame);
    panel_->setAlpha(alpha);
}

void QtShelfPanel::animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                           std::function<void()> completion) {
    if (!completion) completion = [] {};
    panel_->animate(frame, alpha, seconds, easeOut, std::move(completion));
}

void QtShelfPanel::makeKeyAndOrderFront() {
    panel_->orderFront();
}

// The panel stays key until it is ordered out at the end of the closing animation; what closing
// gives up at once is the keyboard focus inside it.
void QtShelfPanel::resignKey() {
    if (QWidget* focus = window_->focusWidget()) focus->clearFocus();
}

void QtShelfPanel::orderOut() {
    panel_->orderOut();
}

bool QtShelfPanel::isKeyWindow() const {
    return panel_->isKeyWindow();
}

void QtShelfPanel::clearFirstResponder() {
    if (QWidget* focus = window_->focusWidget()) focus->clearFocus();
    window_->setFocus(Qt::OtherFocusReason);
}

bool QtShelfPanel::editingText() const {
    return view_->searchField()->hasFocus();
}

Subscription QtShelfPanel::monitorKeys(std::function<bool(const ShelfKeyEvent&)> handler) {
    keys_ = std::move(handler);
    return Subscription([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (alive.lock()) keys_ = nullptr;
    });
}

Subscription QtShelfPanel::monitorClicks(std::function<void(bool)> handler) {
    return monitorPanelClicks(*panel_, *window_, std::move(handler));
}

bool QtShelfPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && keys_ && qobject_cast<QWidget*>(watched) &&
        isPartOfWindow(*window_, watched)) {
        // Look at each key once: Qt offers it to the window's widgets in turn.
        if (watched != QApplication::focusWidget() && QApplication::focusWidget()) return false;
        const auto key = shelfKeyEvent(*static_cast<QKeyEvent*>(event));
        return keys_(key);
    }
    return false;
}

} // namespace fenwold

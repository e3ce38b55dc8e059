#include "QtShelfPanel.h"

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
    static const QHash<int, uint16_t> codes = {
        {Qt::Key_A, 0},       {Qt::Key_S, 1},      {Qt::Key_D, 2},        {Qt::Key_F, 3},
        {Qt::Key_H, 4},       {Qt::Key_G, 5},      {Qt::Key_Z, 6},        {Qt::Key_X, 7},
        {Qt::Key_C, 8},       {Qt::Key_V, 9},      {Qt::Key_B, 11},       {Qt::Key_Q, 12},
        {Qt::Key_W, 13},      {Qt::Key_E, 14},     {Qt::Key_R, 15},       {Qt::Key_Y, 16},
        {Qt::Key_T, 17},      {Qt::Key_1, 18},     {Qt::Key_2, 19},       {Qt::Key_3, 20},
        {Qt::Key_4, 21},      {Qt::Key_6, 22},     {Qt::Key_5, 23},       {Qt::Key_9, 25},
        {Qt::Key_7, 26},      {Qt::Key_8, 28},     {Qt::Key_0, 29},       {Qt::Key_O, 31},
        {Qt::Key_U, 32},      {Qt::Key_I, 34},     {Qt::Key_P, 35},       {Qt::Key_Return, 36},
        {Qt::Key_L, 37},      {Qt::Key_J, 38},     {Qt::Key_K, 40},       {Qt::Key_N, 45},
        {Qt::Key_M, 46},      {Qt::Key_Tab, 48},   {Qt::Key_Space, 49},   {Qt::Key_Backspace, 51},
        {Qt::Key_Escape, 53}, {Qt::Key_Enter, 76}, {Qt::Key_Delete, 117}, {Qt::Key_Left, 123},
        {Qt::Key_Right, 124}, {Qt::Key_Down, 125}, {Qt::Key_Up, 126},
    };
    return codes;
}

} // namespace

ShelfKeyEvent shelfKeyEvent(const QKeyEvent& event) {
    ShelfKeyEvent key;
    key.keyCode = keyCodes().value(event.key(), 0xFFFF);
    const auto mods = event.modifiers();
    if (mods & Qt::ShiftModifier) key.flags |= 0x20000;
    if (mods & Qt::MetaModifier) key.flags |= 0x40000;
    if (mods & Qt::AltModifier) key.flags |= 0x80000;
    if (mods & Qt::ControlModifier) key.flags |= 0x100000;
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
    return panel_->monitorClicks(std::move(handler));
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

#include "PlaygroundWindow.h"

#include "PlaygroundSession.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolBar>
#include <algorithm>

namespace fenwold {

namespace {

// Shows the simulated screen as large as the view allows with its aspect ratio kept. The screen
// widget keeps its own size in points: it is the view that scales, so the panels inside it and
// the mouse positions it receives follow the same transform. The host's pointer over the screen
// is the simulated Mac's: its presses, moves and releases go to the screen's pointer input, which
// delivers them as a Mac would (to the program's panels and windows, or to the simulated Mac),
// the one path scripts take too. Menus Qt shows over the screen (a card's menu, a combo box's
// list) take their clicks as Qt delivers them.
class ScreenView final : public QGraphicsView {
public:
    ScreenView(QGraphicsScene* scene, QGraphicsProxyWidget* screen, DesktopView& desktop, QWidget* parent)
        : QGraphicsView(scene, parent), screen_(screen), desktop_(desktop) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFrameShape(QFrame::NoFrame);
        setAlignment(Qt::AlignCenter);
        setBackgroundRole(QPalette::Dark);
        setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    }

    void fit() {
        const QRectF bounds = screen_->boundingRect();
        if (bounds.isEmpty() || viewport()->width() <= 0 || viewport()->height() <= 0) return;
        // Never larger than the points themselves: at 1:1 every pixel is a point, as on the Mac.
        const double scale =
            std::min({viewport()->width() / bounds.width(), viewport()->height() / bounds.height(), 1.0});
        setTransform(QTransform::fromScale(scale, scale));
        setSceneRect(screen_->sceneBoundingRect());
        centerOn(screen_);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QGraphicsView::resizeEvent(event);
        fit();
    }
    void mousePressEvent(QMouseEvent* e) override { press(e); }
    // Qt follows the second press of a double click with an event of its own; a Mac's second
    // mouse-down carries the click count instead, which the screen counts itself.
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!onScreen(*e)) QGraphicsView::mouseDoubleClickEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (pressed_ || onScreen(*e)) {
            desktop_.pointerMove(atScreen(*e));
            return;
        }
        QGraphicsView::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!pressed_) {
            QGraphicsView::mouseReleaseEvent(e);
            return;
        }
        if (e->buttons() != Qt::NoButton) return; // the press's release comes with the last button
        desktop_.pointerUp(atScreen(*e), std::exchange(pressed_, 0));
    }

private:
    // Over the screen itself, with no menu of Qt's open over it.
    bool onScreen(const QMouseEvent& e) const {
        return !QApplication::activePopupWidget() && itemAt(e.position().toPoint()) == screen_;
    }
    QPoint atScreen(const QMouseEvent& e) const {
        return screen_->mapFromScene(mapToScene(e.position().toPoint())).toPoint();
    }
    void press(QMouseEvent* e) {
        if (pressed_) return; // a second button while one is held
        if (!onScreen(*e)) {
            // A click on a menu Qt shows over the screen lands in that menu.
            if (auto* proxy = qgraphicsitem_cast<QGraphicsProxyWidget*>(itemAt(e->position().toPoint()));
                proxy && proxy != screen_ && proxy->widget())
                desktop_.clickLanded(proxy->widget());
            QGraphicsView::mousePressEvent(e);
            return;
        }
        if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
        desktop_.setFocus();
        const QPoint at = atScreen(*e);
        // The click count, as a Mac's window server keeps it: presses of the same button in quick
        // succession, close together.
        const bool again = e->button() == lastButton_ && lastPress_.isValid() &&
                           lastPress_.elapsed() < QApplication::doubleClickInterval() &&
                           (at - lastAt_).manhattanLength() <= QApplication::startDragDistance();
        clicks_ = again ? clicks_ + 1 : 1;
        lastPress_.start();
        lastAt_ = at;
        lastButton_ = e->button();
        pressed_ = clicks_;
        desktop_.pointerDown(at, clicks_, e->button() == Qt::RightButton);
    }

    QGraphicsProxyWidget* screen_;
    DesktopView& desktop_;
    int pressed_ = 0; // the click count of the press the screen is following, 0 for none
    int clicks_ = 0;
    QElapsedTimer lastPress_;
    QPoint lastAt_;
    Qt::MouseButton lastButton_ = Qt::NoButton;
};

const QString kCaptureOff = QStringLiteral(
    "Typing goes to the simulated Mac; shortcuts this desktop keeps (Alt+Tab, Super) need the capture.");
const QString kCaptureOn = QStringLiteral(
    "Keyboard captured: every key goes to the simulated Mac. Ctrl+Alt+Esc or the button releases it.");
} // namespace

PlaygroundWindow::PlaygroundWindow(PlaygroundSession& playground) : playground_(playground) {
    setWindowTitle(QStringLiteral("Fenwold \u2014 playground"));
    scene_ = new QGraphicsScene(this);
    screen_ = scene_->addWidget(&playground_.desktop());
    view_ = new ScreenView(scene_, screen_, playground_.desktop(), this);
    setCentralWidget(view_);

    auto* toolbar = addToolBar(QStringLiteral("Playground"));
    toolbar->setMovable(false);
    capture_ = toolbar->addAction(QStringLiteral("Capture keyboard"));
    capture_->setCheckable(true);
    QObject::connect(capture_, &QAction::toggled, this, [this](bool on) { setCapturing(on); });

    logPane_ = new QPlainTextEdit;
    logPane_->setReadOnly(true);
    logPane_->setMaximumBlockCount(2000);
    logPane_->setFocusPolicy(Qt::NoFocus);
    auto* dock = new QDockWidget(QStringLiteral("Event log"), this);
    dock->setWidget(logPane_);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction* showLog = dock->toggleViewAction();
    showLog->setText(QStringLiteral("Event log"));
    toolbar->addAction(showLog);
    addLayoutChooser(*toolbar);
    status_ = new QLabel(kCaptureOff);
    toolbar->addSeparator();
    toolbar->addWidget(status_);

    for (const QString& line : playground_.log().lines())
        logPane_->appendPlainText(line);
    playground_.log().onLine = [this](const QString& line) { logPane_->appendPlainText(line); };
    playground_.desktop().interceptKey = [this](QKeyEvent* e) {
        const auto mods = e->modifiers();
        if (capturing_ && e->key() == Qt::Key_Escape && mods.testFlag(Qt::ControlModifier) &&
            mods.testFlag(Qt::AltModifier)) {
            capture_->setChecked(false);
            return true;
        }
        return false;
    };
    // As large as the screen and its event log want, but never larger than the display it opens
    // on.
    // Every display of the simulated Mac at 1:1 with the log beside it where the host's display has
    // room, scaled down to fit it where it has not.
    const QSize desktop = playground_.desktop().sizeHint();
    QSize size(desktop.width() + kScriptedSize.width() - 1440,
               desktop.height() + kScriptedSize.height() - 900);
    if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
    view_->setFocus();
    screen_->setFocus();
    playground_.desktop().setFocus();
}

PlaygroundWindow::~PlaygroundWindow() {
    layoutChanges_ = {};
    playground_.log().onLine = nullptr;
    playground_.desktop().interceptKey = nullptr;
    // The desktop belongs to the session, not to the scene.
    screen_->setWidget(nullptr);
    playground_.desktop().hide();
}

void PlaygroundWindow::addLayoutChooser(QToolBar& toolbar) {
    toolbar.addSeparator();
    toolbar.addWidget(new QLabel(QStringLiteral("Keyboard layout ")));
    layouts_ = new QComboBox;
    // The host's keys are taken by their position, so this alone decides what they type.
    layouts_->setFocusPolicy(Qt::NoFocus);
    SimKeyboardLayout& layout = playground_.session().keyboardLayout;
    for (const SimLayout& l : layout.layouts())
        layouts_->addItem(l.name, l.id);
    const auto showSelected = [this, &layout] {
        const QSignalBlocker quiet(layouts_);
        layouts_->setCurrentIndex(layouts_->findData(layout.typing().id));
    };
    showSelected();
    QObject::connect(layouts_, &QComboBox::activated, this,
                     [this, &layout](int index) { layout.select(layouts_->itemData(index).toString()); });
    layoutChanges_ = playground_.session().inputSources.observeSelection(showSelected);
    toolbar.addWidget(layouts_);
}

double PlaygroundWindow::screenScale() const {
    return view_->transform().m11();
}

void PlaygroundWindow::setCapturing(bool on) {
    if (on == capturing_) return;
    capturing_ = on;
    capture_->setChecked(on);
    DesktopView& desktop = playground_.desktop();
    // The grab is the view's, the native widget the host's keys arrive at; it hands them on to
    // the screen inside it.
    if (on) {
        desktop.setFocus();
        view_->grabKeyboard();
    } else {
        view_->releaseKeyboard();
        playground_.hardware().releaseAll();
    }
    status_->setText(on ? kCaptureOn : kCaptureOff);
    playground_.log().note(on ? QStringLiteral("keyboard captured") : QStringLiteral("keyboard released"));
}

} // namespace fenwold

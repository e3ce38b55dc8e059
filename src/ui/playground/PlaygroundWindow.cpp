#include "PlaygroundWindow.h"

#include "PlaygroundSession.h"

#include <QAction>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QToolBar>

namespace fenwold {

namespace {
const QString kCaptureOff = QStringLiteral(
    "Typing goes to the simulated Mac; shortcuts this desktop keeps (Alt+Tab, Super) need the capture.");
const QString kCaptureOn = QStringLiteral(
    "Keyboard captured: every key goes to the simulated Mac. Ctrl+Alt+Esc or the button releases it.");
} // namespace

PlaygroundWindow::PlaygroundWindow(PlaygroundSession& playground) : playground_(playground) {
    setWindowTitle(QStringLiteral("Fenwold \u2014 playground"));
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(&playground_.desktop());
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroll_);

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
    resize(1440 + 380, 900 + 80);
    playground_.desktop().setFocus();
}

PlaygroundWindow::~PlaygroundWindow() {
    playground_.log().onLine = nullptr;
    playground_.desktop().interceptKey = nullptr;
    // The desktop belongs to the session, not to the scroll area.
    scroll_->takeWidget();
}

void PlaygroundWindow::setCapturing(bool on) {
    if (on == capturing_) return;
    capturing_ = on;
    capture_->setChecked(on);
    DesktopView& desktop = playground_.desktop();
    if (on) {
        desktop.setFocus();
        desktop.grabKeyboard();
    } else {
        desktop.releaseKeyboard();
        playground_.hardware().releaseAll();
    }
    status_->setText(on ? kCaptureOn : kCaptureOff);
    playground_.log().note(on ? QStringLiteral("keyboard captured") : QStringLiteral("keyboard released"));
}

} // namespace fenwold

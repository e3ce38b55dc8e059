#include "SettingsWindow.h"

#include "AboutPane.h"
#include "GeneralPane.h"
#include "ShortcutsPane.h"
#include "core/settings/SettingsContent.h"
#include "ports/PrefsStore.h"
#include "ui/common/SymbolIcons.h"

#include <QActionGroup>
#include <QPointer>
#include <QPropertyAnimation>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace fenwold {

SettingsWindow::SettingsWindow(const SettingsDeps& deps, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      deps_(deps), toolbar_(new QToolBar), stack_(new QStackedWidget) {
    setWindowTitle(kSettingsWindowTitle);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setMovable(false);
    layout->addWidget(toolbar_, 0, Qt::AlignHCenter);
    layout->addWidget(stack_);

    general_ = new GeneralPane(deps_);
    shortcuts_ = new ShortcutsPane(deps_);
    about_ = new AboutPane(deps_);
    auto* group = new QActionGroup(this);
    const auto& tabs = settingsTabs();
    QWidget* panes[] = {general_, shortcuts_, about_};
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        // Each pane scrolls where the window has less room than it needs.
        auto* scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidgetResizable(true);
        paneSizes_.push_back(panes[i]->sizeHint());
        scroll->setWidget(panes[i]);
        stack_->addWidget(scroll);
        QAction* action = toolbar_->addAction(
            symbolIcon(tabs[i].symbol, palette().color(QPalette::WindowText)), tabs[i].title);
        action->setCheckable(true);
        group->addAction(action);
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index] { selectTab(index, true); });
    }
    selectTab(initialSettingsTab(deps_.requestedTab), false);

    // Changes made elsewhere (the master switch from the keyboard) show while the window is open.
    QPointer<SettingsWindow> self(this);
    prefsChanged_ = deps_.prefs->observeChanges([self] {
        if (self)
            QMetaObject::invokeMethod(
                self,
                [self] {
                    if (self) self->refresh();
                },
                Qt::QueuedConnection);
    });
}

void SettingsWindow::selectTab(int index, bool animated) {
    if (index < 0 || index >= stack_->count()) return;
    stack_->setCurrentIndex(index);
    toolbar_->actions().at(index)->setChecked(true);
    fitWindow(animated && isVisible());
}

void SettingsWindow::fitWindow(bool animated) {
    const int index = stack_->currentIndex();
    if (index < 0 || index >= static_cast<int>(paneSizes_.size())) return;
    const QSize pane = paneSizes_[static_cast<std::size_t>(index)];
    QSize content(std::max(pane.width(), toolbar_->sizeHint().width()),
                  toolbar_->sizeHint().height() + pane.height());
    // The pane scrolls only where the window has too little room for it; its scroll bar then
    // takes room beside it.
    const bool scrolls = room_ && content.height() > room_->height();
    if (scrolls) {
        content.setHeight(room_->height());
        content.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(stack_->currentWidget()))
        scroll->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    // Qt's coordinates grow downwards, so keeping the top edge means keeping y.
    const QRect target(geometry().topLeft(), content);
    setFixedSize(content);
    if (animated) {
        auto* animation = new QPropertyAnimation(this, "geometry", this);
        animation->setDuration(200);
        animation->setEndValue(target);
        animation->start(QAbstractAnimation::DeleteWhenStopped);
    } else {
        setGeometry(target);
    }
}

void SettingsWindow::setRoom(QSize room) {
    if (room_ == room) return;
    room_ = room;
    if (fitted_) fitWindow(false);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    if (!fitted_) {
        fitted_ = true;
        fitWindow(false);
        if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    }
}

void SettingsWindow::refresh() {
    general_->refresh();
    shortcuts_->refresh();
}

} // namespace fenwold

#include "WelcomeWindow.h"

#include "ui/settings/AboutPane.h"
#include "ui/settings/PaneLayout.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>

namespace fenwold {

namespace {

QLabel* heading(const QString& text, double scale) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

WelcomeWindow::WelcomeWindow(Welcome& welcome, const QImage& appIcon, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      welcome_(welcome) {
    setWindowTitle(kWelcomeTitle);
    QVBoxLayout* layout = pane::stack(this, 480);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    auto* icon = new QLabel;
    QPixmap pixmap = QPixmap::fromImage((appIcon.isNull() ? drawnAppIcon(128) : appIcon)
                                            .scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(2);
    icon->setPixmap(pixmap);
    icon->setFixedSize(64, 64);
    top->addWidget(icon, 0, Qt::AlignVCenter);
    top->addWidget(heading(kWelcomeTitle, 1.5), 1, Qt::AlignVCenter);
    layout->addLayout(top);
    auto* what = new QLabel(kWelcomeIntro);
    what->setWordWrap(true);
    layout->addWidget(what);
    layout->addWidget(pane::divider());

    for (const PermissionText& text : permissionTexts()) {
        const std::size_t i = index(text.permission);
        auto* block = new QVBoxLayout;
        block->setSpacing(4);
        auto* title = new QHBoxLayout;
        title->addWidget(heading(text.title, 1.0));
        title->addStretch(1);
        status_[i] = new QLabel;
        title->addWidget(status_[i]);
        block->addLayout(title);
        block->addWidget(pane::detailLabel(text.enables));
        buttons_[i] = new QPushButton(text.button);
        buttons_[i]->setAutoDefault(false);
        block->addWidget(buttons_[i], 0, Qt::AlignLeft);
        layout->addLayout(block);
        const Permission permission = text.permission;
        connect(buttons_[i], &QPushButton::clicked, this, [this, permission] {
            welcome_.openPane(permission);
            refresh();
        });
    }
    layout->addWidget(pane::divider());

    // The choices' texts are long: each wraps beside its box, and a click on it toggles the box.
    const auto choice = [this, layout](QCheckBox*& box, QLabel*& label, const QString& text,
                                       const QString& detail) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(4);
        box = new QCheckBox;
        box->setAccessibleName(text);
        grid->addWidget(box, 0, 0, Qt::AlignTop);
        label = new QLabel(text);
        label->setWordWrap(true);
        label->installEventFilter(this);
        grid->addWidget(label, 0, 1);
        grid->addWidget(pane::detailLabel(detail), 1, 1);
        grid->setColumnStretch(1, 1);
        layout->addLayout(grid);
    };
    choice(winKeys_, choiceLabel_, kWinKeysChoice, kWinKeysDetail);
    connect(winKeys_, &QCheckBox::toggled, this, [this](bool on) { welcome_.setWinKeys(on); });
    choice(greenButton_, greenButtonLabel_, kGreenButtonChoice, kGreenButtonDetail);
    connect(greenButton_, &QCheckBox::toggled, this, [this](bool on) { welcome_.setGreenMaximizes(on); });

    // The settings' row for the same switch, as the General tab shows it.
    loginItem_ = new QCheckBox(Welcome::loginItemTitle());
    layout->addWidget(pane::option(loginItem_, kLoginItemDetail));
    connect(loginItem_, &QCheckBox::toggled, this, [this](bool on) { welcome_.setOpensAtLogin(on); });

    continue_ = new QPushButton(kWelcomeContinue);
    continue_->setDefault(true);
    layout->addWidget(continue_, 0, Qt::AlignRight);
    connect(continue_, &QPushButton::clicked, this, [this] { close(); });
    refresh();
    // As tall as its wrapped texts need at its fixed width: left to its size hint, a window is
    // given at most two thirds of the screen's height, which clips them on a small screen.
    if (const int height = heightForWidth(width()); height > 0) resize(width(), height);
}

void WelcomeWindow::refresh() {
    for (const PermissionText& text : permissionTexts()) {
        const bool granted = welcome_.granted(text.permission);
        QLabel* label = status_[index(text.permission)];
        label->setText(permissionStatus(granted));
        label->setStyleSheet(granted ? QStringLiteral("color: #2e9d46; font-weight: 600;")
                                     : QStringLiteral("color: #c4561e; font-weight: 600;"));
    }
    const QSignalBlocker quietWinKeys(winKeys_);
    winKeys_->setChecked(welcome_.winKeysOn());
    const QSignalBlocker quietGreenButton(greenButton_);
    greenButton_->setChecked(welcome_.greenMaximizes());
    const QSignalBlocker quietLoginItem(loginItem_);
    loginItem_->setChecked(welcome_.opensAtLogin());
}

bool WelcomeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == choiceLabel_) winKeys_->toggle();
        if (watched == greenButtonLabel_) greenButton_->toggle();
    }
    return QWidget::eventFilter(watched, event);
}

void WelcomeWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    welcome_.closed();
}

} // namespace fenwold

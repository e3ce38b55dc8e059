#include "ApplicationChooser.h"

#include "ports/Workspace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace fenwold {

ApplicationChooser::ApplicationChooser()
    : QWidget(nullptr, Qt::Window), list_(new QListWidget),
      cancel_(new QPushButton(QStringLiteral("Cancel"))), add_(new QPushButton(QStringLiteral("Add"))) {
    setWindowTitle(QStringLiteral("Choose an Application"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(new QLabel(QStringLiteral("Applications")));
    list_->setFixedSize(320, 200);
    list_->setIconSize(QSize(16, 16));
    layout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addWidget(add_);
    layout->addLayout(buttons);
    add_->setDefault(true);
    connect(cancel_, &QPushButton::clicked, this, [this] { answer(QUrl()); });
    connect(add_, &QPushButton::clicked, this, [this] {
        QListWidgetItem* item = list_->currentItem();
        answer(item ? item->data(Qt::UserRole).toUrl() : QUrl());
    });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { answer(item->data(Qt::UserRole).toUrl()); });
}

void ApplicationChooser::ask(const std::vector<std::pair<QUrl, ApplicationBundle>>& bundles,
                             std::function<void(const QUrl&)> chosen) {
    if (chosen_) answer(QUrl());
    chosen_ = std::move(chosen);
    list_->clear();
    for (const auto& [url, bundle] : bundles) {
        const QString name = bundle.name.isEmpty() ? url.fileName() : bundle.name + QStringLiteral(".app");
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(bundle.icon)), name, list_);
        item->setData(Qt::UserRole, url);
    }
    list_->setCurrentRow(0);
    list_->setFocus();
}

void ApplicationChooser::answer(const QUrl& url) {
    hide();
    if (auto chosen = std::exchange(chosen_, nullptr)) chosen(url);
    if (onDone) onDone();
}

} // namespace fenwold

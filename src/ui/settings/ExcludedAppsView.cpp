#include "ExcludedAppsView.h"

#include "PaneLayout.h"
#include "core/settings/ExcludedApps.h"
#include "ports/AppShell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace fenwold {

namespace {

constexpr int kWidth = 536;
constexpr int kRowHeight = 22;
constexpr int kVisibleRows = 3;

// An application without a readable icon gets a plain rounded square.
QIcon rowIcon(const QImage& image) {
    if (!image.isNull()) return QIcon(QPixmap::fromImage(image));
    QPixmap blank(32, 32);
    blank.fill(Qt::transparent);
    QPainter p(&blank);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128, 90));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 6, 6);
    return QIcon(blank);
}

} // namespace

ExcludedAppsView::ExcludedAppsView(const SettingsDeps& deps, QWidget* parent)
    : QWidget(parent), deps_(deps), list_(new QListWidget), add_(new QToolButton), remove_(new QToolButton) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* heading = new QLabel(kExcludedAppsHeading);
    QFont headingFont = heading->font();
    headingFont.setPixelSize(12);
    headingFont.setWeight(QFont::DemiBold);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    list_->setFixedSize(kWidth, kRowHeight * kVisibleRows + 2 * list_->frameWidth());
    list_->setIconSize(QSize(16, 16));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    add_->setText(QStringLiteral("+"));
    add_->setAccessibleName(QStringLiteral("Add an app"));
    remove_->setText(QStringLiteral("−"));
    remove_->setAccessibleName(QStringLiteral("Remove the selected app"));
    for (QToolButton* b : {add_, remove_}) {
        b->setFixedSize(24, 22);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* detail = pane::detailLabel(kExcludedAppsDetail);
    detail->setFixedWidth(kWidth);
    layout->addWidget(detail);

    connect(add_, &QToolButton::clicked, this, [this] {
        if (!deps_.appShell) return;
        QPointer<ExcludedAppsView> self(this);
        deps_.appShell->chooseApplication([self](const QUrl& url) {
            if (self) self->addChosen(url);
        });
    });
    connect(remove_, &QToolButton::clicked, this, [this] { removeSelected(); });
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { remove_->setEnabled(!list_->selectedItems().isEmpty()); });
    refresh();
}

void ExcludedAppsView::addChosen(const QUrl& url) {
    // A cancelled chooser, or a file that is no application, adds nothing.
    if (url.isEmpty()) return;
    if (const auto id = ExcludedApps(*deps_.prefs).addBundleAt(url, *deps_.workspace)) {
        refresh();
        for (int i = 0; i < list_->count(); ++i)
            if (list_->item(i)->data(Qt::UserRole).toString() == *id) list_->setCurrentRow(i);
    }
}

void ExcludedAppsView::removeSelected() {
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    ExcludedApps(*deps_.prefs).remove(selected.front()->data(Qt::UserRole).toString());
    refresh();
}

void ExcludedAppsView::refresh() {
    const QStringList ids = ExcludedApps(*deps_.prefs).list();
    if (ids != shown_) {
        // Names and icons are looked up again only when the list changed.
        const QString keep =
            list_->currentItem() ? list_->currentItem()->data(Qt::UserRole).toString() : QString();
        shown_ = ids;
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const ExcludedAppRow& row : excludedAppRows(ids, *deps_.workspace)) {
            auto* item = new QListWidgetItem(rowIcon(row.icon), row.title, list_);
            item->setData(Qt::UserRole, row.bundleID);
            item->setToolTip(row.bundleID);
            item->setSizeHint(QSize(kWidth - 4, kRowHeight));
            if (row.bundleID == keep) list_->setCurrentItem(item);
        }
    }
    remove_->setEnabled(!list_->selectedItems().isEmpty());
}

} // namespace fenwold

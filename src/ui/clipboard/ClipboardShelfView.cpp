#include "ClipboardShelfView.h"

#include "ClipboardCard.h"
#include "core/clipboard/ClipboardCode.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/clipboard/ShelfTexts.h"
#include "core/settings/Prefs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEasingCurve>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QWidgetAction>
#include <map>

namespace fenwold {

namespace {

constexpr int kMargin = 14;
// From one card's left edge to the next one's: a card and the gap after it.
constexpr int kCardPitch = ClipboardCard::width + 10;

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

QToolButton* makeIconButton(const QString& symbol, const QString& help, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(ShelfStyle::symbol(symbol));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

ClipboardSearchField::ClipboardSearchField(ClipboardShelfModel& model, QWidget* parent)
    : QLineEdit(parent), model_(&model) {
    setPlaceholderText(QStringLiteral("Search clips"));
    setAccessibleName(QStringLiteral("Search clipboard history"));
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { model_->setQuery(text); });
}

void ClipboardSearchField::focus(bool selectAll) {
    setFocus(Qt::ShortcutFocusReason);
    if (selectAll)
        this->selectAll();
    else
        end(false);
}

void ClipboardSearchField::deliver(const ShelfKeyEvent& event) {
    insert(event.characters);
}

void ClipboardSearchField::perform(SearchEdit edit) {
    switch (edit) {
    case SearchEdit::selectAll:
        selectAll();
        break;
    case SearchEdit::cut:
        cut();
        break;
    case SearchEdit::copy:
        copy();
        break;
    case SearchEdit::paste:
        paste();
        break;
    }
}

void ClipboardSearchField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    model_->setSearchFocused(true);
}

void ClipboardSearchField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    model_->setSearchFocused(false);
}

ClipboardShelfView::ClipboardShelfView(const ShelfViewContext& context, ShelfStyle style,
                                       std::function<double()> now, QWidget* parent)
    : QWidget(parent), context_(context), style_(style), now_(std::move(now)) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, 10);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(8);

    // Inspector, above everything while shown.
    inspector_ = new QWidget(this);
    auto* inspectorLayout = new QVBoxLayout(inspector_);
    inspectorLayout->setContentsMargins(0, 0, 0, 0);
    auto* inspectorHeader = new QHBoxLayout;
    inspectorTitle_ = makeLabel({}, ShelfStyle::systemFont(13, QFont::DemiBold), inspector_);
    inspectorCaption_ = makeLabel({}, ShelfStyle::systemFont(10), inspector_);
    inspectorHeader->addWidget(inspectorTitle_, 1);
    inspectorHeader->addWidget(inspectorCaption_);
    inspectorLayout->addLayout(inspectorHeader);
    inspectorImage_ = new QLabel(inspector_);
    inspectorImage_->setAlignment(Qt::AlignCenter);
    inspectorImage_->setMinimumSize(1, 1);
    inspectorText_ = new QTextBrowser(inspector_);
    inspectorText_->setFrameShape(QFrame::NoFrame);
    inspectorText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    inspectorText_->setFocusPolicy(Qt::NoFocus);
    inspectorLayout->addWidget(inspectorImage_, 1);
    inspectorLayout->addWidget(inspectorText_, 1);
    layout->addWidget(inspector_, 1);
    divider_ = new QWidget(this);
    divider_->setFixedHeight(1);
    divider_->setAutoFillBackground(true);
    layout->addWidget(divider_);

    layout->addWidget(buildHeader());
    layout->addWidget(buildChips());

    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // scrolled by wheel and selection
    scroll_->setWidgetResizable(false);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setFixedHeight(ClipboardCard::height + 14);
    scroll_->viewport()->setAutoFillBackground(false);
    // The cards stand at fixed places in the row, without a layout: a layout would ask every card
    // its size, and the row makes only the cards near its visible part.
    row_ = new QWidget;
    row_->setAutoFillBackground(false);
    scroll_->setWidget(row_);
    connect(scroll_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { makeCardsInView(); });
    layout->addWidget(scroll_);

    empty_ = new QWidget(this);
    empty_->setFixedHeight(ClipboardCard::height + 14);
    auto* emptyLayout = new QVBoxLayout(empty_);
    emptyLayout->addStretch();
    emptySymbol_ = makeLabel({}, ShelfStyle::systemFont(28, QFont::Light), empty_);
    emptyTitle_ = makeLabel({}, ShelfStyle::systemFont(15, QFont::DemiBold), empty_);
    emptyDetail_ = makeLabel({}, ShelfStyle::systemFont(12), empty_);
    for (QLabel* label : {emptySymbol_, emptyTitle_, emptyDetail_}) {
        label->setAlignment(Qt::AlignCenter);
        emptyLayout->addWidget(label);
    }
    emptyLayout->addStretch();
    layout->addWidget(empty_);
    layout->addWidget(buildFooter());

    scrollAnimation_ = new QVariantAnimation(this);
    scrollAnimation_->setDuration(160);
    scrollAnimation_->setEasingCurve(QEasingCurve::OutCubic);
    connect(scrollAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { scroll_->horizontalScrollBar()->setValue(value.toInt()); });

    modelObserver_ = context_.model->observe([this] { modelChanged(); });
    storeObserver_ = context_.store->observe([this] { refresh(); });
    if (context_.registerSearch) context_.registerSearch(search_);
    setStyle(style);
    // Polished now, each card is polished as it is made rather than all of them while a person
    // waits for the shelf to open the first time.
    ensurePolished();
    // What the first frame needs from the fonts (loading, shaping, the glyphs) is done once the
    // program has started, where nobody waits, rather than while a person waits for the shelf to
    // open the first time.
    auto steps = ClipboardCard::warmUpSteps(style_, devicePixelRatioF());
    // The shelf's own words, each drawn where it is: a text's glyphs fall on the same quarter-pixel
    // places wherever its label stands.
    steps.push_back([this] {
        sizeHint();
        QImage scratch;
        for (QWidget* words : findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(words) && !qobject_cast<QAbstractButton*>(words)) continue;
            if (scratch.size() != words->size() * devicePixelRatioF()) {
                scratch = QImage(words->size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
                scratch.setDevicePixelRatio(devicePixelRatioF());
            }
            scratch.fill(Qt::transparent);
            words->render(&scratch, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        }
    });
    warmUp(std::move(steps), warmUpDelayMilliseconds);
}

void ClipboardShelfView::warmUp(std::vector<std::function<void()>> steps, int afterMilliseconds) {
    if (steps.empty()) return;
    QTimer::singleShot(afterMilliseconds, this, [this, steps = std::move(steps)]() mutable {
        // Once the shelf is open its own frames make what it needs; a step now would only hold up
        // the person's next key.
        if (isVisible()) return;
        steps.front()();
        steps.erase(steps.begin());
        warmUp(std::move(steps), warmUpGapMilliseconds);
    });
}

QWidget* ClipboardShelfView::buildHeader() {
    auto* header = new QWidget(this);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(
        makeLabel(ShelfStyle::symbol(QStringLiteral("clipboard")), ShelfStyle::systemFont(18), header));
    layout->addWidget(
        makeLabel(QStringLiteral("Clipboard"), ShelfStyle::systemFont(20, QFont::DemiBold), header));
    auto* badge = makeLabel(QStringLiteral("Win V"), ShelfStyle::systemFont(10, QFont::DemiBold), header);
    badge->setObjectName(QStringLiteral("badge"));
    badge->setContentsMargins(6, 1, 6, 1);
    layout->addWidget(badge);
    layout->addSpacing(12);

    auto* searchBox = new QWidget(header);
    searchBox->setObjectName(QStringLiteral("searchBox"));
    auto* searchLayout = new QHBoxLayout(searchBox);
    searchLayout->setContentsMargins(8, 3, 4, 3);
    searchLayout->addWidget(makeLabel(ShelfStyle::symbol(QStringLiteral("magnifyingglass")),
                                      ShelfStyle::systemFont(14), searchBox));
    search_ = new ClipboardSearchField(*context_.model, searchBox);
    search_->setFont(ShelfStyle::systemFont(13));
    searchLayout->addWidget(search_, 1);
    clearButton_ =
        makeIconButton(QStringLiteral("xmark.circle.fill"), QStringLiteral("Clear search"), searchBox);
    connect(clearButton_, &QToolButton::clicked, this, [this] { context_.model->setQuery(QString()); });
    searchLayout->addWidget(clearButton_);
    layout->addWidget(searchBox, 1);

    optionsButton_ =
        makeIconButton(QStringLiteral("ellipsis.circle"), QStringLiteral("Clipboard options"), header);
    optionsButton_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(optionsButton_);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        ClipboardStore* store = context_.store;
        menu->addAction(store->paused() ? QStringLiteral("Resume capture") : QStringLiteral("Pause capture"),
                        this, [store] { store->togglePaused(); });
        menu->addAction(QStringLiteral("Clear recent clips"), this, [store] { store->clearRecent(); });
        menu->addSeparator();
        QAction* toggle = menu->addAction(QStringLiteral("Enable Windows+V & capture"));
        toggle->setCheckable(true);
        toggle->setChecked(winV());
        PrefsStore* prefs = context_.prefs;
        connect(toggle, &QAction::toggled, this, [this, prefs](bool on) {
            if (prefs) prefs->write(PrefKey::winV, on);
            refresh();
        });
        QAction* note = menu->addAction(QStringLiteral("Recent clips stay in memory. Only pins are saved."));
        note->setEnabled(false);
    });
    optionsButton_->setMenu(menu);
    layout->addWidget(optionsButton_);

    auto* close = makeIconButton(QStringLiteral("xmark"), QStringLiteral("Close shelf (Esc)"), header);
    connect(close, &QToolButton::clicked, this, [this] {
        if (context_.dismiss) context_.dismiss();
    });
    layout->addWidget(close);
    return header;
}

QWidget* ClipboardShelfView::buildChips() {
    auto* chips = new QWidget(this);
    auto* layout = new QHBoxLayout(chips);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (ClipboardFilter filter : allClipboardFilters) {
        QString label = rawValue(filter);
        if (filter == ClipboardFilter::pinned)
            label = ShelfStyle::symbol(QStringLiteral("pin.fill")) + " " + label;
        auto* chip = new QPushButton(label, chips);
        chip->setCheckable(true);
        chip->setFocusPolicy(Qt::NoFocus);
        chip->setFont(ShelfStyle::systemFont(11, QFont::DemiBold));
        chip->setObjectName(QStringLiteral("chip"));
        connect(chip, &QPushButton::clicked, this, [this, filter] { context_.model->setFilter(filter); });
        chips_.push_back(chip);
        layout->addWidget(chip);
    }
    layout->addStretch();
    countLabel_ = makeLabel({}, ShelfStyle::systemFont(11), chips);
    layout->addWidget(countLabel_);
    return chips;
}

QWidget* ClipboardShelfView::buildFooter() {
    auto* footer = new QWidget(this);
    auto* layout = new QHBoxLayout(footer);
    layout->setContentsMargins(0, 0, 0, 0);
    message_ = makeLabel({}, ShelfStyle::systemFont(11), footer);
    clearMessage_ = makeIconButton(QStringLiteral("xmark.circle"), QStringLiteral("Dismiss"), footer);
    connect(clearMessage_, &QToolButton::clicked, this, [this] { context_.store->setMessage(std::nullopt); });
    status_ = makeLabel({}, ShelfStyle::systemFont(11), footer);
    layout->addWidget(message_);
    layout->addWidget(clearMessage_);
    layout->addWidget(status_);
    layout->addStretch();
    previewButton_ = new QPushButton(QStringLiteral("Space Preview"), footer);
    previewButton_->setFlat(true);
    previewButton_->setFocusPolicy(Qt::NoFocus);
    connect(previewButton_, &QPushButton::clicked, this, [this] {
        if (context_.inspect) context_.inspect();
    });
    pasteButton_ = new QPushButton(QStringLiteral("↵ Paste"), footer);
    pasteButton_->setObjectName(QStringLiteral("prominent"));
    pasteButton_->setToolTip(ShelfTexts::pasteHelp);
    pasteButton_->setFocusPolicy(Qt::NoFocus);
    connect(pasteButton_, &QPushButton::clicked, this, [this] {
        if (const ClipboardEntry* clip = context_.model->selected()) {
            const ClipboardEntry chosen = *clip;
            if (context_.use) context_.use(chosen, false, false);
        }
    });
    layout->addWidget(previewButton_);
    layout->addWidget(pasteButton_);
    return footer;
}

void ClipboardShelfView::setStyle(ShelfStyle style) {
    style_ = style;
    const QString label = style_.label().name(QColor::HexArgb);
    const QString secondary = style_.secondaryLabel().name(QColor::HexArgb);
    const QString field = style_.separator().name(QColor::HexArgb);
    const QString accent = style_.accent().name();
    setStyleSheet(
        QStringLiteral(
            "QLabel { color: %1; background: transparent; }"
            "QLabel#badge { color: %2; background: %3; border-radius: 5px; }"
            "QWidget#searchBox { background: %3; border-radius: 8px; }"
            "QLineEdit { color: %1; background: transparent; border: none; }"
            "QToolButton { color: %2; background: transparent; border: none; font-size: 16px; }"
            "QToolButton#pin[pinned=\"true\"] { color: %4; }"
            "QPushButton#chip { color: %1; background: transparent; border: none; border-radius: 9px;"
            " padding: 3px 10px; }"
            "QPushButton#chip:checked { color: white; background: %4; }"
            "QPushButton { color: %1; background: %3; border: none; border-radius: 7px; padding: 5px 12px; }"
            "QPushButton:disabled { color: %2; }"
            "QPushButton#prominent { color: white; background: %4; font-weight: 600; }"
            "QPushButton#prominent:disabled { background: %3; color: %2; }"
            "QTextBrowser { color: %1; background: transparent; }"
            "QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }")
            .arg(label, secondary, field, accent));
    QPalette palette = divider_->palette();
    palette.setColor(QPalette::Window, style_.separator());
    divider_->setPalette(palette);
    status_->setStyleSheet(QStringLiteral("color: %1;").arg(secondary));
    countLabel_->setStyleSheet(QStringLiteral("color: %1;").arg(secondary));
    emptyDetail_->setStyleSheet(QStringLiteral("color: %1;").arg(secondary));
    emptySymbol_->setStyleSheet(QStringLiteral("color: %1;").arg(secondary));
    inspectorCaption_->setStyleSheet(QStringLiteral("color: %1;").arg(secondary));
    // Cards are made again in the new colours.
    for (ClipboardCard* card : cards_) {
        card->hide();
        card->deleteLater();
    }
    cards_.clear();
    shown_.clear();
    inspected_.reset();
    refresh();
}

bool ClipboardShelfView::winV() const {
    return context_.prefs && Prefs(*context_.prefs).flag(PrefKey::winV);
}

void ClipboardShelfView::modelChanged() {
    ClipboardShelfModel& model = *context_.model;
    if (model.query() != lastQuery_ || model.filter() != lastFilter_) {
        lastQuery_ = model.query();
        lastFilter_ = model.filter();
        model.reconcileSelection();
    }
    refresh();
}

void ClipboardShelfView::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    ClipboardShelfModel& model = *context_.model;
    ClipboardStore& store = *context_.store;

    if (search_->text() != model.query()) search_->setText(model.query());
    if (!model.searchFocused() && search_->hasFocus()) search_->clearFocus();
    clearButton_->setVisible(!model.query().isEmpty());
    for (std::size_t i = 0; i < chips_.size(); ++i)
        chips_[i]->setChecked(allClipboardFilters[i] == model.filter());

    // One pass over the history per refresh: searching large clips is the expensive part.
    const auto visible = model.visible();
    const auto chosen = std::find_if(visible.begin(), visible.end(),
                                     [&](const ClipboardEntry* e) { return e->id() == model.selectedID(); });
    const ClipboardEntry* selected = chosen != visible.end() ? *chosen
                                     : visible.empty()       ? nullptr
                                                             : visible.front();
    countLabel_->setText(ShelfTexts::clipCount(visible.size()));
    rebuildCards(visible, selected);
    scroll_->setVisible(!visible.empty());
    empty_->setVisible(visible.empty());
    if (visible.empty()) {
        const auto state = ShelfTexts::emptyState(model.query(), model.filter(), winV());
        emptySymbol_->setText(ShelfStyle::symbol(state.symbol));
        emptyTitle_->setText(state.title);
        emptyDetail_->setText(state.detail);
    }

    const bool hasMessage = store.message().has_value();
    message_->setVisible(hasMessage);
    clearMessage_->setVisible(hasMessage);
    status_->setVisible(!hasMessage);
    if (hasMessage) message_->setText(*store.message());
    const auto status = ShelfTexts::status(store.paused(), winV());
    status_->setText(ShelfStyle::symbol(status.symbol) + "  " + status.text);
    previewButton_->setEnabled(selected != nullptr);
    pasteButton_->setEnabled(selected != nullptr);

    refreshInspector(selected);
    refreshing_ = false;
}

ClipboardCard* ClipboardShelfView::makeCard(const ClipboardEntry& entry, std::size_t index, double now) {
    auto* card = new ClipboardCard(entry, index, false, now, style_, thumbnailPixels_, row_);
    card->move(static_cast<int>(index) * kCardPitch, 0);
    card->show();
    const QUuid id = entry.id();
    card->select = [this, id] { context_.model->setSelectedID(id); };
    card->paste = [this, card] {
        if (context_.use) context_.use(card->entry(), false, false);
    };
    card->pin = [this, id] { context_.store->togglePin(id); };
    card->menuAction = [this, card, id](ShelfTexts::CardAction action) {
        const ClipboardEntry clip = card->entry();
        switch (action) {
        case ShelfTexts::CardAction::paste:
            context_.use(clip, false, false);
            break;
        case ShelfTexts::CardAction::pastePlain:
            context_.use(clip, true, false);
            break;
        case ShelfTexts::CardAction::copy:
            context_.use(clip, false, true);
            break;
        case ShelfTexts::CardAction::preview:
            context_.model->setSelectedID(id);
            context_.inspect();
            break;
        case ShelfTexts::CardAction::togglePin:
            context_.store->togglePin(id);
            break;
        case ShelfTexts::CardAction::remove:
            context_.store->remove(id);
            break;
        }
    };
    return card;
}

void ClipboardShelfView::rebuildCards(const std::vector<const ClipboardEntry*>& visible,
                                      const ClipboardEntry* selected) {
    std::vector<std::pair<QUuid, bool>> ids;
    for (const auto* entry : visible)
        ids.emplace_back(entry->id(), entry->pinned);
    const std::optional<QUuid> selectedID = selected ? std::optional(selected->id()) : std::nullopt;
    const bool selectionChanged = selectedID != selectedID_;
    selectedID_ = selectedID;

    if (ids != shown_) {
        // Cards of clips still shown stay: making and polishing a card is what a refresh spends
        // its time on, and a copy changes one card of a hundred. A pin changes the card's look.
        std::map<QUuid, ClipboardCard*> previous;
        for (ClipboardCard* card : cards_)
            previous.emplace(card->entry().id(), card);
        const std::size_t count = std::min(visible.size(), std::max(cardsInView(), cards_.size()));
        rowEntries_.clear();
        for (const auto* entry : visible)
            rowEntries_.push_back(*entry);
        const double now = now_();
        std::vector<ClipboardCard*> cards;
        for (std::size_t i = 0; i < count; ++i) {
            const auto kept = previous.find(visible[i]->id());
            if (kept != previous.end() && kept->second->entry().pinned == visible[i]->pinned) {
                kept->second->place(i, now);
                kept->second->move(static_cast<int>(i) * kCardPitch, 0);
                cards.push_back(kept->second);
                previous.erase(kept);
            } else {
                cards.push_back(makeCard(*visible[i], i, now));
            }
        }
        // A card may be the one whose click got here, so it goes later; until then it must not
        // show next to its replacement.
        for (const auto& [id, card] : previous) {
            card->hide();
            card->deleteLater();
        }
        cards_ = std::move(cards);
        shown_ = std::move(ids);
        const int n = static_cast<int>(visible.size());
        row_->setFixedSize(n > 0 ? n * kCardPitch - (kCardPitch - ClipboardCard::width) : 0,
                           ClipboardCard::height);
    }
    bool moved = selected && selectionChanged;
    for (ClipboardCard* card : cards_) {
        const bool isSelected = card->entry().id() == selectedID_;
        moved = moved || (isSelected && !card->selected());
        card->setSelected(isSelected);
    }
    if (moved) scrollToSelection();
}

std::size_t ClipboardShelfView::cardsInView() const {
    // Before the row's first layout its viewport has no width yet; the view's own width, less its
    // margins, is the width the row will have.
    const int span = std::max(scroll_->viewport()->width(), width() - 2 * kMargin);
    const int reach = scroll_->horizontalScrollBar()->value() + span + kCardPitch;
    return static_cast<std::size_t>((reach + kCardPitch - 1) / kCardPitch);
}

void ClipboardShelfView::makeCardsInView() {
    const std::size_t count = std::min(rowEntries_.size(), cardsInView());
    if (cards_.size() >= count) return;
    const double now = now_();
    for (std::size_t i = cards_.size(); i < count; ++i) {
        ClipboardCard* card = makeCard(rowEntries_[i], i, now);
        card->setSelected(card->entry().id() == selectedID_);
        cards_.push_back(card);
    }
}

void ClipboardShelfView::scrollToSelection() {
    const auto it = std::find_if(rowEntries_.begin(), rowEntries_.end(),
                                 [this](const ClipboardEntry& e) { return e.id() == selectedID_; });
    if (it == rowEntries_.end()) return;
    const QRect card(QPoint(static_cast<int>(it - rowEntries_.begin()) * kCardPitch, 0),
                     QSize(ClipboardCard::width, ClipboardCard::height));
    const int center = card.center().x();
    QScrollBar* bar = scroll_->horizontalScrollBar();
    const int target = std::clamp(center - scroll_->viewport()->width() / 2, bar->minimum(), bar->maximum());
    scrollAnimation_->stop();
    if (style_.reduceMotion) {
        bar->setValue(target);
        return;
    }
    scrollAnimation_->setStartValue(bar->value());
    scrollAnimation_->setEndValue(target);
    scrollAnimation_->start();
}

void ClipboardShelfView::refreshInspector(const ClipboardEntry* selected) {
    const ClipboardEntry* entry = context_.model->inspecting() ? selected : nullptr;
    inspector_->setVisible(entry != nullptr);
    divider_->setVisible(entry != nullptr);
    if (!entry) {
        inspected_.reset();
        return;
    }
    if (inspected_ == entry->id()) return;
    inspected_ = entry->id();
    inspectorTitle_->setText(ShelfStyle::symbol(ShelfTexts::kindSymbol(entry->kind())) + "  " +
                             entry->title());
    inspectorCaption_->setText(ShelfTexts::inspectorCaption(*entry));
    const bool image = entry->kind() == ClipKind::image && entry->thumbnail();
    inspectorImage_->setVisible(image);
    inspectorText_->setVisible(!image);
    if (image) {
        const QSize box(width() - 2 * kMargin, 230);
        inspectorImage_->setPixmap(
            QPixmap::fromImage(thumbnailPixels_.forDrawing(*entry->thumbnail())
                                   .scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    } else if (entry->kind() == ClipKind::code) {
        QTextDocument* document = style_.codeDocument(ClipboardCode::highlight(entry->textPrefix(40000)),
                                                      ShelfStyle::monospaceFont(13), inspectorText_);
        inspectorText_->setDocument(document);
    } else {
        auto* document = new QTextDocument(inspectorText_);
        document->setDefaultFont(ShelfStyle::systemFont(13));
        document->setPlainText(entry->text());
        inspectorText_->setDocument(document);
    }
}

void ClipboardShelfView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    makeCardsInView();
}

void ClipboardShelfView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 18, 18);
    painter.fillPath(shape, style_.material());
    painter.setPen(QPen(style_.separator(), 1));
    painter.drawPath(shape);
}

} // namespace fenwold

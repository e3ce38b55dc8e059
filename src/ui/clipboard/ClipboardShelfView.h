#pragma once

#include "ShelfStyle.h"
#include "ThumbnailPixels.h"
#include "core/clipboard/ClipboardShelfController.h"
#include "ui/common/HiddenForAWhile.h"

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QTextBrowser;
class QToolButton;
class QVariantAnimation;

namespace fenwold {

class ClipboardCard;

// The native search field, bound to the model's query and focus.
class ClipboardSearchField final : public QLineEdit, public ShelfSearchField {
    Q_OBJECT
public:
    explicit ClipboardSearchField(ClipboardShelfModel& model, QWidget* parent = nullptr);
    void focus(bool selectAll) override;
    void deliver(const ShelfKeyEvent& event) override;
    void perform(SearchEdit edit) override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ClipboardShelfModel* model_;
};

// The shelf's content: header, filter chips, the row of cards or an empty state, the footer,
// and the inspector above them while it is shown. Rebuilt from the model and store whenever
// they change; the time source gives the cards' ages.
class ClipboardShelfView final : public QWidget {
    Q_OBJECT
public:
    ClipboardShelfView(const ShelfViewContext& context, ShelfStyle style, std::function<double()> now,
                       QWidget* parent = nullptr);

    void setStyle(ShelfStyle style);
    // Bring every part up to date with the model and store.
    void refresh();
    // The cards made so far, in the row's order: those from the first to one past the right edge
    // of the row's visible part. The others are made as scrolling brings them near.
    const std::vector<ClipboardCard*>& cards() const { return cards_; }
    ClipboardSearchField* searchField() const { return search_; }

    // The launch warm-up starts this long after the shelf is made, out of the way of what the
    // program does as it starts and of a key pressed at once, and leaves the second gap between
    // its steps so a key or a frame never waits behind more than one.
    static constexpr int warmUpDelayMilliseconds = 500;
    static constexpr int warmUpGapMilliseconds = 20;
    // By this long after the shelf is made the warm-up is over: a handful of steps of a few
    // milliseconds each, after its delay.
    static constexpr int warmUpOverMilliseconds = warmUpDelayMilliseconds + 10 * warmUpGapMilliseconds + 200;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs the steps one at a time, the first after the given time and each later one after the
    // gap, until the shelf opens.
    void warmUp(std::vector<std::function<void()>> steps, int afterMilliseconds);
    QWidget* buildHeader();
    QWidget* buildChips();
    QWidget* buildFooter();
    ClipboardCard* makeCard(const ClipboardEntry& entry, std::size_t index, double now);
    void rebuildCards(const std::vector<const ClipboardEntry*>& visible, const ClipboardEntry* selected);
    // How many cards reach one card past the right edge of the row's visible part.
    std::size_t cardsInView() const;
    void makeCardsInView();
    void refreshInspector(const ClipboardEntry* selected);
    void scrollToSelection();
    bool winV() const;
    void modelChanged();

    ShelfViewContext context_;
    ShelfStyle style_;
    std::function<double()> now_;
    ThumbnailPixels thumbnailPixels_;
    HiddenForAWhile releaseThumbnailPixels_{*this, [this] { thumbnailPixels_.release(); }};
    Subscription modelObserver_;
    Subscription storeObserver_;

    ClipboardSearchField* search_ = nullptr;
    QToolButton* clearButton_ = nullptr;
    QToolButton* optionsButton_ = nullptr;
    std::vector<QPushButton*> chips_;
    QLabel* countLabel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* row_ = nullptr;
    QWidget* empty_ = nullptr;
    QLabel* emptySymbol_ = nullptr;
    QLabel* emptyTitle_ = nullptr;
    QLabel* emptyDetail_ = nullptr;
    QLabel* message_ = nullptr;
    QToolButton* clearMessage_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* pasteButton_ = nullptr;
    QWidget* inspector_ = nullptr;
    QLabel* inspectorTitle_ = nullptr;
    QLabel* inspectorCaption_ = nullptr;
    QLabel* inspectorImage_ = nullptr;
    QTextBrowser* inspectorText_ = nullptr;
    QWidget* divider_ = nullptr;
    QVariantAnimation* scrollAnimation_ = nullptr;

    std::vector<ClipboardEntry> rowEntries_; // what the row shows; cards_ holds the first cards
    std::vector<ClipboardCard*> cards_;
    std::vector<std::pair<QUuid, bool>> shown_; // ids and pin flags the cards were built for
    std::optional<QUuid> selectedID_;
    QString lastQuery_;
    ClipboardFilter lastFilter_ = ClipboardFilter::all;
    std::optional<QUuid> inspected_;
    bool refreshing_ = false;
};

} // namespace fenwold

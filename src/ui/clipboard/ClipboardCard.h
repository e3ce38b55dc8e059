#pragma once

#include "ShelfStyle.h"
#include "ThumbnailPixels.h"
#include "core/clipboard/ClipboardEntry.h"
#include "core/clipboard/ShelfTexts.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

class QToolButton;

namespace fenwold {

// One clip in the shelf's row: kind line with a pin button, a preview by kind, source and age,
// and the shortcut badge of the first nine cards.
class ClipboardCard final : public QWidget {
    Q_OBJECT
public:
    static constexpr int width = 218;
    static constexpr int height = 190;
    static constexpr double radius = 13;

    // The shelf's cards draw their thumbnails through one `ThumbnailPixels`, which outlives them.
    ClipboardCard(ClipboardEntry entry, std::size_t index, bool selected, double now, ShelfStyle style,
                  ThumbnailPixels& thumbnailPixels, QWidget* parent = nullptr);

    // Painting a card of each kind where nothing shows it, so the fonts, text shaping and glyphs
    // the cards draw with are ready before the first card is shown (making the glyphs cost the
    // shelf's first frame about a millisecond). One kind a step of a few milliseconds: run them
    // one at a time.
    static std::vector<std::function<void()>> warmUpSteps(const ShelfStyle& style, double devicePixelRatio);

    const ClipboardEntry& entry() const { return entry_; }
    // Where the card now stands in the row (its shortcut badge) and the time its age is told from.
    void place(std::size_t index, double now);
    bool selected() const { return selected_; }
    void setSelected(bool selected);

    std::function<void()> select;
    std::function<void()> paste;
    std::function<void()> pin;
    std::function<void(ShelfTexts::CardAction)> menuAction;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintPreview(QPainter& painter, const QRectF& area) const;
    void startDrag();

    ClipboardEntry entry_;
    std::size_t index_;
    bool selected_;
    double now_;
    ShelfStyle style_;
    ThumbnailPixels& thumbnailPixels_;
    bool hover_ = false;
    QPoint pressPosition_;
    QToolButton* pinButton_;
};

} // namespace fenwold

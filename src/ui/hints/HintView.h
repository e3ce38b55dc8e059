#pragma once

#include "core/hints/HintHUD.h"
#include "ports/FloatingPanel.h"

#include <QFont>
#include <QRectF>
#include <QWidget>
#include <memory>

namespace fenwold {

// Where everything of one hint goes, measured with the HUD's fonts: the heading over a row of
// keycaps and words, inside the panel's padding.
struct HintLayout {
    static constexpr double kPadX = 14, kPadY = 11, kStackSpacing = 7, kRowSpacing = 5;
    static constexpr double kCapPadX = 5, kCapPadY = 3, kCapMinLabel = 12, kCapRadius = 5, kPanelRadius = 14;

    struct Item {
        Hint::Segment segment;
        QRectF rect; // the keycap's box, or the words' text box
    };

    QString heading;
    QRectF headingRect;
    std::vector<Item> items;
    QSizeF size;

    static QFont headingFont();
    static QFont wordsFont();
    static QFont keycapFont();
    static HintLayout of(const Hint& hint);
};

// Paints one keycap: the label centred on a faint rounded key with a thin outline.
struct Keycap {
    static void paint(QPainter& painter, const QRectF& rect, const QString& label, const QColor& primary);
};

// The content of the hint panel: one hint, at its natural size.
class HintView final : public QWidget {
public:
    explicit HintView(QWidget* parent = nullptr);
    void setHint(const Hint& hint);
    QSize sizeHint() const override;
    // The content as an image, for snapshots.
    QImage render(double scale = 2.0) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintContent(QPainter& painter) const;

    HintLayout layout_;
};

class PanelHost;

// The floating, click-through, never-focused panel that hosts the view, made by its panel host.
class HintPanelWidget final : public HintPanel {
public:
    HintPanelWidget(const PanelHost& host, const PanelStyle& style);
    ~HintPanelWidget() override;

    Size setContent(const Hint& hint) override;
    void setFrame(const Rect& frame) override;
    bool isVisible() const override;
    void setAlpha(double alpha) override;
    void orderFront() override;
    void animateAlpha(double alpha, double seconds) override;
    void orderOut() override;
    std::vector<Rect> otherOverlays() const override;

    HintView* view() const { return view_.get(); }
    double alpha() const;

private:
    const PanelHost& host_;
    std::unique_ptr<HintView> view_;
    std::unique_ptr<FloatingPanel> panel_; // goes before the view it hosts
};

} // namespace fenwold

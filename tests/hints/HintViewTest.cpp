// The hint panel's content rendered offscreen. Writes hint-alt-f4.png next to the test binary
// for a person to look at.
#include "ui/hints/HintView.h"
#include "core/shell/PanelStyles.h"
#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace fenwold;

TEST(HintView, SizeFollowsPaddingAndSpacing) {
    const Hint hint = HintHUD::demoHint();
    const QFontMetricsF heading(HintLayout::headingFont()), words(HintLayout::wordsFont()),
        caps(HintLayout::keycapFont());
    const auto cap = [&](const QString& t) { return std::max(12.0, caps.horizontalAdvance(t)) + 10; };
    // ⌘ W closes, ⌘ Q quits: four keycaps and two runs of words, five gaps of 5 points.
    const double row = cap("⌘") + cap("W") + words.horizontalAdvance("closes,") + cap("⌘") + cap("Q") +
                       words.horizontalAdvance("quits") + 5 * 5;
    const double width = 14 + std::max(heading.horizontalAdvance("Alt+F4 — the Mac way"), row) + 14;
    const double rowHeight = std::max(caps.height() + 6, words.height());
    const double height = 11 + heading.height() + 7 + rowHeight + 11;

    HintView view;
    view.setHint(hint);
    EXPECT_EQ(view.sizeHint(), QSizeF(width, height).toSize());

    const QImage image = view.render(2.0);
    EXPECT_EQ(image.size(), (QSizeF(width, height) * 2).toSize());
    // The corner is transparent (rounded), the middle is painted.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 0);
    const QString out = QDir(QCoreApplication::applicationDirPath()).filePath("hint-alt-f4.png");
    EXPECT_TRUE(image.save(out));

    // Only a heading when the text has no segments.
    view.setHint(Hint{"F2", "   ", std::nullopt});
    EXPECT_EQ(view.sizeHint().height(), qRound(11 + heading.height() + 11));
}

TEST(HintView, PanelPlacesTheViewFromScreenCoordinates) {
    DesktopPanelHost host;
    HintPanelWidget panel(host, panelstyles::hint());
    const Size size = panel.setContent(HintHUD::demoHint());
    EXPECT_EQ(size.width, panel.view()->sizeHint().width());
    panel.setAlpha(0);
    panel.orderFront();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(panel.view()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(panel.view()->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_DOUBLE_EQ(panel.view()->windowOpacity(), 0.0);
    panel.animateAlpha(1, 0);
    EXPECT_DOUBLE_EQ(panel.view()->windowOpacity(), 1.0);

    // A fade-out interrupted by a new presentation does not finish behind its back.
    panel.animateAlpha(0, 0.2);
    panel.animateAlpha(1, 0);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_DOUBLE_EQ(panel.view()->windowOpacity(), 1.0);
    panel.orderOut();
    EXPECT_FALSE(panel.isVisible());
}

TEST(HintView, PanelInsideAContainerIsAChildPlacedByItsHostAndFadesByEffect) {
    // A host whose screen is 900 points high, drawn 1:1 inside a widget.
    struct ContainerHost final : PanelHost {
        QWidget canvas;
        QWidget* container() const override { return const_cast<QWidget*>(&canvas); }
        QRect toWidget(const Rect& f) const override {
            return QRect(qRound(f.x), qRound(900 - f.maxY()), qRound(f.width), qRound(f.height));
        }

    protected:
        std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override {
            return std::make_unique<ChildFloatingPanel>(content, style, *this);
        }
    } host;
    HintPanelWidget panel(host, panelstyles::hint());
    EXPECT_EQ(panel.view()->parentWidget(), &host.canvas);
    EXPECT_TRUE(panel.view()->testAttribute(Qt::WA_TransparentForMouseEvents));
    panel.setFrame({100, 200, 150, 40});
    EXPECT_EQ(panel.view()->geometry(), QRect(100, 660, 150, 40));
    panel.setAlpha(0.25);
    EXPECT_DOUBLE_EQ(panel.alpha(), 0.25);
    panel.animateAlpha(1, 0);
    EXPECT_DOUBLE_EQ(panel.alpha(), 1.0);
}

int main(int argc, char** argv) {
    // Widgets need the full application object, made before the shared test environment's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "HintHUD.h"

#include "core/settings/Prefs.h"
#include "ports/Screens.h"

#include <algorithm>

namespace fenwold {

std::vector<Hint::Segment> Hint::segments(const QString& mac) {
    std::vector<Segment> out;
    for (const QString& piece : mac.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (piece.startsWith(QLatin1Char('~'))) {
            const QString word = piece.mid(1);
            if (!out.empty() && out.back().kind == Segment::Kind::words)
                out.back().text += QLatin1Char(' ') + word;
            else
                out.push_back(Segment::words(word));
        } else {
            out.push_back(Segment::key(piece));
        }
    }
    return out;
}

QString Hint::heading() const {
    return title ? *title : win + QStringLiteral(" — the Mac way");
}

HintHUD::HintHUD(PrefsStore& prefs, MainQueue& mainQueue, Screens& screens, PanelFactory makePanel)
    : prefs_(&prefs), mainQueue_(&mainQueue), screens_(&screens), makePanel_(std::move(makePanel)) {}

bool HintHUD::shows() const {
    return Prefs(*prefs_).macHints();
}

void HintHUD::show(const Hint& hint) {
    if (!shows()) return;
    std::weak_ptr<HintHUD*> weak = self_;
    mainQueue_->post([weak, hint] {
        if (auto self = weak.lock()) (*self)->present(hint);
    });
}

void HintHUD::present(const Hint& hint) {
    const auto screens = screens_->screens();
    if (screens.empty()) return;
    const int main = screens_->mainScreenIndex();
    const ScreenInfo& screen = main >= 0 && static_cast<size_t>(main) < screens.size()
                                   ? screens[static_cast<size_t>(main)]
                                   : screens.front();

    const int64_t generation = ++generation_;
    if (!panel_) panel_ = makePanel_();
    if (!panel_) return;

    if (current_ != hint) {
        current_ = hint;
        const Size size = panel_->setContent(hint);
        panel_->setFrame(placement(screen.visibleFrame, size, panel_->otherOverlays()));
    }

    const bool still = screens_->reduceMotion();
    if (!panel_->isVisible()) {
        panel_->setAlpha(0);
        panel_->orderFront();
    }
    panel_->animateAlpha(1, still ? 0 : kFadeInSeconds);

    std::weak_ptr<HintHUD*> weak = self_;
    mainQueue_->after(kDisplaySeconds, [weak, generation, still] {
        auto self = weak.lock();
        if (!self) return;
        HintHUD& hud = **self;
        if (hud.generation_ != generation || !hud.panel_) return;
        const double fade = still ? 0 : kFadeOutSeconds;
        hud.panel_->animateAlpha(0, fade);
        // The fade's completion: only the latest presentation may order the panel out.
        hud.mainQueue_->after(fade, [weak, generation] {
            auto self = weak.lock();
            if (!self) return;
            HintHUD& hud = **self;
            if (hud.generation_ != generation || !hud.panel_) return;
            hud.panel_->orderOut();
            hud.current_.reset();
        });
    });
}

Rect HintHUD::placement(const Rect& visible, Size size, const std::vector<Rect>& overlays) {
    // The top-right corner of the visible frame, or the first other corner clear of every other
    // overlay; where none is, the top-right one after all.
    const double left = visible.minX() + kRightInset, right = visible.maxX() - size.width - kRightInset;
    const double top = visible.maxY() - size.height - kTopInset, bottom = visible.minY() + kTopInset;
    const Rect corners[] = {{right, top, size.width, size.height},
                            {left, top, size.width, size.height},
                            {right, bottom, size.width, size.height},
                            {left, bottom, size.width, size.height}};
    for (const Rect& corner : corners)
        if (std::none_of(overlays.begin(), overlays.end(),
                         [&](const Rect& o) { return o.intersects(corner); }))
            return corner;
    return corners[0];
}

TimerHandle HintHUD::startDemo() {
    present(demoHint());
    std::weak_ptr<HintHUD*> weak = self_;
    return mainQueue_->every(2.0, 0, [weak] {
        if (auto self = weak.lock()) (*self)->present(demoHint());
    });
}

} // namespace fenwold

#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace fenwold {

// Calls `letGo` once `widget` has stayed hidden for as long as a panel keeps its pixels, so what a
// view keeps for drawing goes with them; shown again sooner, it keeps it.
class HiddenForAWhile final : public QObject {
public:
    HiddenForAWhile(QWidget& widget, std::function<void()> letGo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer timer_;
};

} // namespace fenwold

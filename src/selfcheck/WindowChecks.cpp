#include "WindowChecks.h"

#include "core/windows/SnapGeometry.h"
#include "core/windows/StoreMath.h"
#include "core/windows/WindowActivation.h"
#include "core/windows/WindowCapture.h"
#include "core/windows/WindowStore.h"
#include "core/windows/Windows.h"

#include <QColor>
#include <QImage>

namespace fenwold {

namespace {

QString describe(const Rect& r) {
    return QStringLiteral("(%1, %2, %3, %4)").arg(r.x).arg(r.y).arg(r.width).arg(r.height);
}

template <class T>
void expect(QStringList& failures, const QString& what, const T& actual, const T& expected) {
    if (!(actual == expected)) failures << what;
}

} // namespace

bool windowsSelfcheck(QStringList& failures) {
    const Rect visible{0, 70, 1440, 805};
    const struct {
        WindowSnap snap;
        Rect ax;
    } rows[] = {{WindowSnap::left, {0, 25, 720, 805}},
                {WindowSnap::right, {720, 25, 720, 805}},
                {WindowSnap::maximize, {0, 25, 1440, 805}},
                {WindowSnap::topLeft, {0, 25, 720, 402.5}},
                {WindowSnap::topRight, {720, 25, 720, 402.5}},
                {WindowSnap::bottomLeft, {0, 427.5, 720, 402.5}},
                {WindowSnap::bottomRight, {720, 427.5, 720, 402.5}}};
    for (const auto& row : rows) {
        const Rect got = snapgeometry::toAX(snapgeometry::snapRect(row.snap, visible), 900);
        if (!(got == row.ax))
            failures << QStringLiteral("snap %1 gives %2, expected %3")
                            .arg(static_cast<int>(row.snap))
                            .arg(describe(got), describe(row.ax));
    }
    const std::vector<ScreenInfo> screens = {{{0, 0, 1440, 900}, visible},
                                             {{-1920, 0, 1920, 1080}, {-1920, 0, 1920, 1055}}};
    expect(failures, QStringLiteral("a window on the left screen is found by its top-left corner"),
           snapgeometry::screenIndexContainingAX(screens, 0, {-1800, 100, 2400, 600}), 1);
    expect(failures, QStringLiteral("a window off every screen falls back to the main screen"),
           snapgeometry::screenIndexContainingAX(screens, 1, {9000, 9000, 10, 10}), 1);
    expect(failures, QStringLiteral("the left snap presses Move & Resize > Left"),
           Windows::menuPath(WindowSnap::left),
           QStringList{QStringLiteral("Move & Resize"), QStringLiteral("Left")});
    expect(failures, QStringLiteral("maximize presses Fill"), Windows::menuPath(WindowSnap::maximize),
           QStringList{QStringLiteral("Fill")});
    return failures.isEmpty();
}

bool windowStoreSelfcheck(QStringList& failures) {
    const struct {
        double aspect;
        int width;
    } widths[] = {{1.0, 280}, {16.0 / 9.0, 498}, {0.1, 202}, {10.0, 728}};
    for (const auto& w : widths) {
        const int got = StoreMath::captureWidth(140, w.aspect);
        if (got != w.width)
            failures << QStringLiteral("captureWidth(140, %1) = %2, expected %3")
                            .arg(w.aspect)
                            .arg(got)
                            .arg(w.width);
    }
    const std::vector<StoreMath::Entry> entries = {{1, 30, 3.0}, {2, 30, 1.0}, {3, 30, 1.0}, {4, 30, 9.0}};
    expect(failures, QStringLiteral("evictions within the budget"), StoreMath::evictions(entries, 120),
           std::vector<uint32_t>{});
    expect(failures, QStringLiteral("evictions oldest shown first, ties in order"),
           StoreMath::evictions(entries, 60), std::vector<uint32_t>{2, 3});
    expect(failures, QStringLiteral("evictions of everything when nothing fits"),
           StoreMath::evictions(entries, 0), std::vector<uint32_t>{2, 3, 1, 4});
    expect(failures, QStringLiteral("identity key"), WindowStore::identityKey(501, QStringLiteral("Notes")),
           QStringLiteral("501") + QChar(0) + QStringLiteral("Notes"));
    return failures.isEmpty();
}

bool windowCaptureSelfcheck(QStringList& failures) {
    QImage flat(64, 48, QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(30, 120, 200));
    QImage clear(64, 48, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QImage varied(64, 48, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < varied.height(); ++y)
        for (int x = 0; x < varied.width(); ++x)
            varied.setPixelColor(x, y, QColor(x * 4, y * 5, 90));
    expect(failures, QStringLiteral("a transparent image has no content"),
           WindowCapture::hasVisibleContent(clear, false), false);
    expect(failures, QStringLiteral("a flat opaque image counts without reject-uniform"),
           WindowCapture::hasVisibleContent(flat, false), true);
    expect(failures, QStringLiteral("a flat opaque image fails with reject-uniform"),
           WindowCapture::hasVisibleContent(flat, true), false);
    expect(failures, QStringLiteral("a varied image passes with reject-uniform"),
           WindowCapture::hasVisibleContent(varied, true), true);
    expect(failures, QStringLiteral("fit scales down keeping the aspect"),
           WindowCapture::fit(varied, 32).size(), QSize(32, 24));
    expect(failures, QStringLiteral("fit never scales up"), WindowCapture::fit(varied, 640).size(),
           QSize(64, 48));
    const QByteArray record = WindowActivation::eventRecord(7);
    expect(failures, QStringLiteral("event record layout"),
           record.size() == 256 && record[0x08] == 0x01 && static_cast<uchar>(record[0x04]) == 0xF8 &&
               record[0x3A] == 0x10 && record[0x3C] == 7,
           true);
    expect(failures, QStringLiteral("remote token layout"), WindowActivation::remoteToken(1, 2).toHex(),
           QByteArray("0100000000000000"
                      "6f636f63"
                      "0200000000000000"));
    return failures.isEmpty();
}

} // namespace fenwold

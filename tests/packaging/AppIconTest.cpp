// The bundle's icon decodes at every size the Finder and the Dock ask for, each entry read by the
// program's own image reader; broken copies of it are refused.
#include "core/clipboard/ImagePreview.h"
#include "ui/settings/AboutPane.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct Entry {
    QByteArray type;
    QByteArray data;
};

// The sizes a Mac asks for: 16, 32, 128, 256 and 512 points at @1x and @2x.
const std::vector<std::pair<QByteArray, int>> kSizes = {
    {"icp4", 16},  {"ic11", 32},  {"icp5", 32},  {"ic12", 64},  {"ic07", 128},
    {"ic13", 256}, {"ic08", 256}, {"ic14", 512}, {"ic09", 512}, {"ic10", 1024},
};

QByteArray header(const QByteArray& type, qsizetype length) {
    QByteArray bytes = type;
    bytes.resize(8);
    qToBigEndian<quint32>(static_cast<quint32>(length), bytes.data() + 4);
    return bytes;
}

QByteArray icns(const std::vector<Entry>& entries) {
    QByteArray body;
    for (const Entry& e : entries)
        body += header(e.type, 8 + e.data.size()) + e.data;
    return header("icns", 8 + body.size()) + body;
}

// The container's entries, or a problem when its lengths do not add up.
std::vector<Entry> entriesOf(const QByteArray& file, QStringList& problems) {
    std::vector<Entry> entries;
    if (file.size() < 8 || !file.startsWith("icns") ||
        qFromBigEndian<quint32>(file.constData() + 4) != static_cast<quint32>(file.size())) {
        problems << "not an icns file of its stated length";
        return entries;
    }
    for (qsizetype at = 8; at < file.size();) {
        const quint32 length = at + 8 <= file.size() ? qFromBigEndian<quint32>(file.constData() + at + 4) : 0;
        if (length < 8 || at + static_cast<qsizetype>(length) > file.size()) {
            problems << QString("an entry at byte %1 runs past the end").arg(at);
            return {};
        }
        entries.push_back({file.mid(at, 4), file.mid(at + 8, length - 8)});
        at += length;
    }
    return entries;
}

// What is wrong with an icon file: a size missing, or an entry the program's reader does not
// decode at its size.
QStringList iconProblems(const QByteArray& file) {
    QStringList problems;
    const std::vector<Entry> entries = entriesOf(file, problems);
    if (!problems.isEmpty()) return problems;
    for (const auto& [type, pixels] : kSizes) {
        const auto entry =
            std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.type == type; });
        if (entry == entries.end()) {
            problems << QString("no %1 entry (%2 pixels)").arg(QString(type)).arg(pixels);
            continue;
        }
        const fenwold::ImagePreview preview = fenwold::makeImagePreview(icns({*entry}));
        const QString want = QString("%1 × %1").arg(pixels);
        if (!preview.thumbnail || preview.dimensions != want)
            problems << QString("%1 decodes as %2, not %3")
                            .arg(QString(type), preview.dimensions.value_or("nothing"), want);
    }
    return problems;
}

QByteArray bundleIcon() {
    const QString path = qEnvironmentVariableIsSet("FENWOLD_APP_ICON")
                             ? qEnvironmentVariable("FENWOLD_APP_ICON")
                             : FENWOLD_APP_ICON;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

TEST(AppIcon, DecodesAtEverySizeWithTheProgramsImageReader) {
    const QByteArray file = bundleIcon();
    EXPECT_EQ(iconProblems(file), QStringList());
    QStringList problems;
    EXPECT_EQ(entriesOf(file, problems).size(), kSizes.size()); // and nothing besides
}

TEST(AppIcon, TheAboutTabShowsItsLargestImage) {
    const QString path = qEnvironmentVariableIsSet("FENWOLD_APP_ICON")
                             ? qEnvironmentVariable("FENWOLD_APP_ICON")
                             : FENWOLD_APP_ICON;
    EXPECT_EQ(fenwold::largestImage(path).size(), QSize(1024, 1024));
    EXPECT_TRUE(fenwold::largestImage(path + ".missing").isNull());
}

TEST(AppIcon, BrokenCopiesAreRefused) {
    QStringList none;
    const std::vector<Entry> entries = entriesOf(bundleIcon(), none);
    ASSERT_EQ(entries.size(), kSizes.size());

    std::vector<Entry> missing(entries.begin(), entries.end() - 1);
    EXPECT_EQ(iconProblems(icns(missing)), QStringList{"no ic10 entry (1024 pixels)"});

    std::vector<Entry> corrupt = entries;
    corrupt[4].data.truncate(corrupt[4].data.size() / 2);
    corrupt[4].data[20] = 'x';
    EXPECT_EQ(iconProblems(icns(corrupt)).size(), 1);

    std::vector<Entry> wrongSize = entries;
    wrongSize[4].data = entries[6].data; // a 256-pixel image where 128 belongs
    EXPECT_EQ(iconProblems(icns(wrongSize)), QStringList{"ic07 decodes as 256 × 256, not 128 × 128"});

    EXPECT_EQ(iconProblems(bundleIcon().left(1000)), QStringList{"not an icns file of its stated length"});
}

#include "core/settings/ShortcutCatalogue.h"
#include "ports/PrefKey.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace fenwold;

// The user guide lists what the settings window lists: a change to the catalogue or to the
// declared switches that the guide does not follow fails here.

namespace {

QString userGuide() {
    QFile file(QString::fromUtf8(FENWOLD_USER_GUIDE));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The text under the heading that starts at `at`, up to the next heading of any level.
QString sectionText(const QString& guide, qsizetype at) {
    const qsizetype body = guide.indexOf(QLatin1Char('\n'), at + 1);
    const qsizetype next = guide.indexOf(QStringLiteral("\n#"), body);
    return guide.mid(body, next < 0 ? -1 : next - body);
}

// A table row names its preference in a cell that begins with the name in backticks.
QString nameCell(const QString& pref) {
    return QStringLiteral("| `") + pref + QLatin1Char('`');
}

} // namespace

TEST(UserGuide, ListsEveryCatalogueRowUnderItsSectionInTheSettingsWindowsOrder) {
    const QString guide = userGuide();
    ASSERT_FALSE(guide.isEmpty()) << "cannot read " << FENWOLD_USER_GUIDE;
    qsizetype previousSection = -1;
    for (const RemapSection& section : remapSections()) {
        const qsizetype at = guide.indexOf(QStringLiteral("\n### ") + section.name + QLatin1Char('\n'));
        EXPECT_GT(at, previousSection)
            << "section \"" << section.name.toStdString() << "\" missing or out of order";
        if (at < 0) continue;
        previousSection = at;
        const QString text = sectionText(guide, at);
        qsizetype previousRow = -1;
        for (const Remap& row : section.rows) {
            const qsizetype r = text.indexOf(nameCell(row.pref()));
            EXPECT_GT(r, previousRow) << "row " << row.pref().toStdString() << " missing from \""
                                      << section.name.toStdString() << "\" or out of order";
            if (r >= 0) previousRow = r;
        }
    }
}

TEST(UserGuide, NamesEverySwitchTheUserCanSet) {
    const QString guide = userGuide();
    ASSERT_FALSE(guide.isEmpty()) << "cannot read " << FENWOLD_USER_GUIDE;
    for (const PrefDeclaration& pref : kPrefDeclarations) {
        if (!pref.registered) continue;
        const QString name =
            QLatin1Char('`') + QString::fromLatin1(pref.name.data(), pref.name.size()) + QLatin1Char('`');
        EXPECT_TRUE(guide.contains(name)) << name.toStdString();
    }
}

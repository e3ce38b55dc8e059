// The window menu as a Qt menu: one entry per row, separators, check marks, the disabled quit.
#include "ui/menus/QtMenuPresenter.h"
#include "core/menus/WindowMenuController.h"

#include <QMenu>
#include <gtest/gtest.h>

using namespace fenwold;

TEST(QtMenuPresenterTest, BuildsEntriesWithChecksIconsAndTheDisabledQuit) {
    const auto items = WindowMenuController::items(WindowMode::snappedLeft, QString("com.apple.finder"),
                                                   QString("Finder & Co"));
    const std::vector<MenuRow> rows(items.begin(), items.end());
    QMenu menu;
    const auto actions = QtMenuPresenter::build(menu, rows);
    const QList<QAction*> entries = menu.actions();
    ASSERT_EQ(entries.size(), 13);
    EXPECT_TRUE(entries[6]->isSeparator());
    EXPECT_TRUE(entries[10]->isSeparator());
    EXPECT_EQ(entries[4]->text(), "Snap Left");
    EXPECT_TRUE(entries[4]->isChecked());
    EXPECT_FALSE(entries[3]->isChecked());
    EXPECT_EQ(items[actions.at(entries[1])].action, WindowMenuAction::startMove);
    for (int i : {0, 1, 2, 3, 4, 5, 7, 8, 9, 11, 12})
        EXPECT_FALSE(entries[i]->icon().isNull()) << entries[i]->text().toStdString();
    // An ampersand in the application's name is shown, not taken for the row's letter.
    EXPECT_EQ(entries[12]->text(), "Quit Finder && Co");
    EXPECT_FALSE(entries[12]->isEnabled());
    EXPECT_EQ(actions.count(entries[12]), 0u);
    EXPECT_TRUE(entries[11]->isEnabled());
    for (QAction* a : entries)
        EXPECT_TRUE(a->shortcut().isEmpty());
}

#pragma once

#include "ports/Geometry.h"

#include <QColor>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

namespace fenwold {

// One row of a pop-up menu. A separator has no title. In a title "&" marks the letter that
// chooses the row from the keyboard, underlined where the platform underlines such letters
// ("&&" is an ampersand).
struct MenuRow {
    bool separator = false;
    QString title;
    QString symbol;             // system symbol name; none for no icon
    std::optional<QColor> tint; // coloured symbols; monochrome ones are template images
    bool checked = false;
    bool enabled = true;

    static MenuRow divider() { return MenuRow{true, {}, {}, {}, false, false}; }
};

// A title that shows its text as it is: no letter of it is taken for the row's key.
QString literalMenuTitle(const QString& text);
// The letter "&" marks in a title, lower case; none without one.
std::optional<QChar> menuRowLetter(const QString& title);
// The title as it reads, without its marks.
QString menuRowText(const QString& title);

// Shows the native pop-up menu. The menu's top-left corner goes at `topLeft` (screen
// coordinates, origin bottom-left); the call returns when the menu closes, with the row chosen.
class MenuPresenter {
public:
    MenuPresenter() = default;
    MenuPresenter(const MenuPresenter&) = delete;
    MenuPresenter& operator=(const MenuPresenter&) = delete;
    virtual ~MenuPresenter() = default;

    // The size the menu will have, for placing it.
    virtual Size measure(const std::vector<MenuRow>& rows) = 0;
    // Pop the menu up and track it until it closes; the index of the chosen row.
    virtual std::optional<std::size_t> popUp(const std::vector<MenuRow>& rows, Point topLeft) = 0;
};

} // namespace fenwold

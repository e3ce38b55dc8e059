#pragma once

#include "core/menus/MenuPresenter.h"

#include <QAction>
#include <map>

class QMenu;

namespace fenwold {

class PanelHost;

// The program's pop-up menus (the window menu, the quick link menu) as Qt pop-up menus.
class QtMenuPresenter final : public MenuPresenter {
public:
    explicit QtMenuPresenter(const PanelHost& host);

    Size measure(const std::vector<MenuRow>& rows) override;
    std::optional<std::size_t> popUp(const std::vector<MenuRow>& rows, Point topLeft) override;

    // Fills a menu with the rows; answers which row each enabled entry stands for.
    static std::map<QAction*, std::size_t> build(QMenu& menu, const std::vector<MenuRow>& rows);

private:
    const PanelHost& host_;
};

} // namespace fenwold

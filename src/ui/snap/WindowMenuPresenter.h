#pragma once

#include "core/snap/WindowMenu.h"

#include <QAction>
#include <map>

class QMenu;

namespace fenwold {

class PanelHost;

// The window menu as a Qt pop-up menu (a native menu on macOS).
class QtMenuPresenter final : public MenuPresenter {
public:
    explicit QtMenuPresenter(const PanelHost& host);

    Size measure(const std::vector<WindowMenuItem>& items) override;
    std::optional<WindowMenuAction> popUp(const std::vector<WindowMenuItem>& items, Point topLeft) override;

    // Fills a menu with the rows; answers which action each entry stands for.
    static std::map<QAction*, WindowMenuAction> build(QMenu& menu, const std::vector<WindowMenuItem>& items);

private:
    const PanelHost& host_;
};

} // namespace fenwold

#pragma once

#include "ports/StatusItemView.h"

namespace fenwold {

// The status-bar item in the system status bar: the drawn template icon, clicks on left and
// right mouse-up, and the menu attached only while it is open so plain clicks reach the button.
class MacStatusItem final : public StatusItemView {
public:
    MacStatusItem();
    ~MacStatusItem() override;

    void install(std::function<void(Button, int)> onClick) override;
    bool installed() const override { return item_ != nullptr; }
    void popMenu(const std::vector<StatusMenuItem>& items, std::function<void(StatusAction)> chosen) override;
    void setIconOpacity(double opacity) override;

private:
    void* item_ = nullptr;   // retained NSStatusItem
    void* target_ = nullptr; // retained click and menu target
};

} // namespace fenwold

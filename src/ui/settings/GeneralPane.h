#pragma once

#include "SettingsDeps.h"
#include "ports/PrefKey.h"
#include "ports/Subscription.h"

#include <QCheckBox>
#include <QWidget>
#include <vector>

namespace fenwold {

// Switcher, Dock peek, hints, the system's keyboard navigation and the login item.
class GeneralPane final : public QWidget {
public:
    explicit GeneralPane(const SettingsDeps& deps, QWidget* parent = nullptr);

    // Re-read every checkbox from the preferences and the system setting.
    void refresh();
    QCheckBox* checkbox(const QString& title) const;

private:
    SettingsDeps deps_;
    std::vector<std::pair<std::optional<PrefKey>, QCheckBox*>> boxes_;
    Subscription keyboardNavChanged_;
};

} // namespace fenwold

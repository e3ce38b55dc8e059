#include "GeneralPane.h"

#include "PaneLayout.h"
#include "core/settings/Prefs.h"
#include "core/settings/SettingsContent.h"

#include <QPointer>

namespace fenwold {

GeneralPane::GeneralPane(const SettingsDeps& deps, QWidget* parent) : QWidget(parent), deps_(deps) {
    QVBoxLayout* layout = pane::stack(this);
    for (const GeneralOption& option : generalOptions()) {
        if (option.dividerBefore) layout->addWidget(pane::divider());
        auto* box = new QCheckBox(option.title);
        layout->addWidget(pane::option(box, option.detail));
        boxes_.emplace_back(option.pref, box);
        const std::optional<PrefKey> pref = option.pref;
        connect(box, &QCheckBox::toggled, this, [this, pref](bool on) {
            Prefs prefs(*deps_.prefs);
            if (!pref)
                KeyboardNav::set(*deps_.prefs, on);
            else if (*pref == PrefKey::launchAtLogin)
                setLaunchAtLogin(prefs, *deps_.loginItems, on);
            else
                prefs.set(*pref, on);
        });
    }
    // A change made in the system's settings shows here.
    QPointer<GeneralPane> self(this);
    keyboardNavChanged_ = deps_.prefs->observeDistributed(KeyboardNav::changed, [self] {
        if (self)
            QMetaObject::invokeMethod(
                self,
                [self] {
                    if (self) self->refresh();
                },
                Qt::QueuedConnection);
    });
    refresh();
}

void GeneralPane::refresh() {
    const Prefs prefs(*deps_.prefs);
    for (auto& [pref, box] : boxes_) {
        const QSignalBlocker quiet(box);
        box->setChecked(pref ? prefs.flag(*pref) : KeyboardNav::enabled(*deps_.prefs));
    }
}

QCheckBox* GeneralPane::checkbox(const QString& title) const {
    for (const auto& [pref, box] : boxes_) {
        if (box->text() == title) return box;
    }
    return nullptr;
}

} // namespace fenwold

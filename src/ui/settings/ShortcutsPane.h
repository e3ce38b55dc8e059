#pragma once

#include "SettingsDeps.h"
#include "core/settings/ShortcutCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QWidget>
#include <map>

namespace fenwold {

class RemapRowWidget;
class ExcludedAppsView;

// The master switch, the two hardware remaps, the shortcut catalogue and its detail area.
class ShortcutsPane final : public QWidget {
public:
    explicit ShortcutsPane(const SettingsDeps& deps, QWidget* parent = nullptr);

    void refresh();
    // Select a catalogue row by preference key (empty clears the selection).
    void select(const QString& pref);
    QString selected() const { return selected_; }

    QCheckBox* swapSwitch() const { return swap_; }
    QCheckBox* capsSwitch() const { return caps_; }
    QCheckBox* masterSwitch() const { return master_; }
    QListWidget* list() const { return list_; }
    RemapRowWidget* row(const QString& pref) const;
    QLabel* detailHeading() const { return heading_; }
    QLabel* detailText() const { return detail_; }
    QComboBox* altF4Picker() const { return picker_; }
    QStringList sectionHeadings() const;
    ExcludedAppsView* excludedApps() const { return excluded_; }

private:
    void refreshDetail();

    SettingsDeps deps_;
    QCheckBox* swap_ = nullptr;
    QCheckBox* caps_ = nullptr;
    QCheckBox* master_ = nullptr;
    QListWidget* list_ = nullptr;
    std::vector<std::pair<QListWidgetItem*, const RemapSection*>> headings_;
    std::map<QString, RemapRowWidget*> rows_;
    QLabel* heading_ = nullptr;
    QLabel* detail_ = nullptr;
    QWidget* pickerRow_ = nullptr;
    QComboBox* picker_ = nullptr;
    ExcludedAppsView* excluded_ = nullptr;
    QString selected_;
};

// One catalogue row: its checkbox, keys and purpose.
class RemapRowWidget final : public QWidget {
public:
    RemapRowWidget(const Remap& remap, PrefsStore& prefs, QWidget* parent = nullptr);
    void refresh(bool swapped);
    QCheckBox* checkbox() const { return box_; }
    QLabel* keysLabel() const { return keys_; }

private:
    Remap remap_;
    PrefsStore& prefs_;
    QCheckBox* box_;
    QLabel* keys_ = nullptr;
    QLabel* purpose_;
};

} // namespace fenwold

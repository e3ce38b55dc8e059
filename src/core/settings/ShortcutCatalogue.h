#pragma once

#include "AltF4Action.h"
#include "ports/PrefKey.h"

#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

class Prefs;

// One Windows-style remap as the settings list shows it; identified by its preference key.
struct Remap {
    PrefKey key;
    QString keys;
    QString purpose;
    QString detail;
    // The preference's name, the row's identity in the settings list.
    QString pref() const;
    // Swapping Control and Command already gives this remap's effect (as its preference declares).
    bool swapDoesIt() const;
    friend bool operator==(const Remap&, const Remap&) = default;
};

struct RemapSection {
    QString name;
    std::optional<QString> swapName; // the heading while Control and Command are swapped
    std::vector<Remap> rows;
};

// Every remap the program offers, in display order: one row per shortcut switch, by section.
// Built once.
const std::vector<RemapSection>& remapSections();
// The row with this preference key.
const Remap* remapNamed(const QString& pref);

// The section heading for the current swap setting.
QString sectionHeading(const RemapSection& section, bool swapCtrlCmd);
// A row is disabled while the swap already does its job.
bool rowDisabled(const Remap& row, bool swapCtrlCmd);
// The row's accessibility label: its purpose, with the reason when it is disabled.
QString rowAccessibilityLabel(const Remap& row, bool swapCtrlCmd);
// Whether the dispatch treats the remap as on.
bool remapInForce(const Remap& row, const Prefs& prefs);

// The detail area's text for a selection (nullptr for none).
QString detailText(const Remap* selected, const Prefs& prefs);
inline const QString kNoSelectionPrompt = QStringLiteral(
    "Select a shortcut to read exactly what it does, and which Mac behavior it replaces while enabled.");
inline const QString kSwapPrefix = QStringLiteral(
    "Off while Ctrl and Command are swapped — the key you press already sends what this row would. ");

// The close-or-quit picker: its title, each choice's label and the detail text of each choice.
inline const QString kAltF4PickerTitle = QStringLiteral("Action");
QString pickerLabel(AltF4Action action);
QString pickerDetail(AltF4Action action);
// The picker is usable only while the master switch and the Alt+F4 row are both on.
bool altF4PickerEnabled(const Prefs& prefs);

} // namespace fenwold

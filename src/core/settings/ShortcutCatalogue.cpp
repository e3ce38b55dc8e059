#include "ShortcutCatalogue.h"

#include "Prefs.h"
#include "core/input/KeyRows.h"

#include <array>

namespace fenwold {

namespace {

QString text(std::u16string_view t) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(t.data()), static_cast<qsizetype>(t.size()));
}

// A section's heading, with the one it has while Control and Command are swapped, and no rows yet.
RemapSection emptySection(CatalogueSection section) {
    switch (section) {
    case CatalogueSection::windowsKey:
        return {QStringLiteral("Windows key (arrives as ⌘)"),
                QString(QStringLiteral("Windows key (arrives as ⌃)")),
                {}};
    case CatalogueSection::windowsSystem:
        return {QStringLiteral("Windows key: search, settings, the system"), std::nullopt, {}};
    case CatalogueSection::ctrl:
        return {QStringLiteral("Ctrl"), std::nullopt, {}};
    case CatalogueSection::alt:
        return {QStringLiteral("Alt"), std::nullopt, {}};
    case CatalogueSection::functionKeys:
        return {QStringLiteral("Function keys"), std::nullopt, {}};
    case CatalogueSection::screenAndMouse:
        return {QStringLiteral("Screen and mouse"), std::nullopt, {}};
    case CatalogueSection::remoteAccess:
        return {QStringLiteral("Remote access"), std::nullopt, {}};
    case CatalogueSection::finder:
        break;
    }
    return {QStringLiteral("In Finder"), std::nullopt, {}};
}

} // namespace

const std::vector<RemapSection>& remapSections() {
    // The texts are declared with the rows that carry the shortcuts out; the sections list the
    // shortcut switches in the order of their declarations.
    static const std::vector<RemapSection> sections = [] {
        std::vector<RemapSection> all;
        for (const CatalogueSection section : kCatalogueSections)
            all.push_back(emptySection(section));
        std::array<std::optional<CatalogueText>, kPrefKeyCount> texts;
        for (const ListedShortcut& listed : listedShortcuts())
            texts[static_cast<std::size_t>(listed.pref)] = listed.text;
        for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
            const auto key = static_cast<PrefKey>(i);
            if (!isShortcutSwitch(key) || !texts[i]) continue;
            const CatalogueText& t = *texts[i];
            all[static_cast<std::size_t>(t.section)].rows.push_back(
                {key, text(t.keys), text(t.purpose), text(t.detail)});
        }
        return all;
    }();
    return sections;
}

QString Remap::pref() const {
    const std::string_view name = prefKeyName(key);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool Remap::swapDoesIt() const {
    return declarationOf(key).kind == PrefKind::ctrlToCmd;
}

const Remap* remapNamed(const QString& pref) {
    for (const auto& section : remapSections()) {
        for (const auto& row : section.rows) {
            if (row.pref() == pref) return &row;
        }
    }
    return nullptr;
}

QString sectionHeading(const RemapSection& section, bool swapCtrlCmd) {
    return swapCtrlCmd && section.swapName ? *section.swapName : section.name;
}

bool rowDisabled(const Remap& row, bool swapCtrlCmd) {
    return row.swapDoesIt() && swapCtrlCmd;
}

QString rowAccessibilityLabel(const Remap& row, bool swapCtrlCmd) {
    return rowDisabled(row, swapCtrlCmd)
               ? row.purpose + QStringLiteral(", unavailable while Ctrl and Command are swapped")
               : row.purpose;
}

bool remapInForce(const Remap& row, const Prefs& prefs) {
    return prefs.on(row.key);
}

QString detailText(const Remap* selected, const Prefs& prefs) {
    if (!selected) return kNoSelectionPrompt;
    if (selected->key == PrefKey::altF4) return pickerDetail(readAltF4Action(prefs));
    return rowDisabled(*selected, prefs.swapCtrlCmd()) ? kSwapPrefix + selected->detail : selected->detail;
}

QString pickerLabel(AltF4Action action) {
    switch (action) {
    case AltF4Action::close:
        return QStringLiteral("Close tab/window (⌘W)");
    case AltF4Action::quit:
        return QStringLiteral("Quit app (⌘Q)");
    case AltF4Action::closeWindowOrQuit:
        break;
    }
    return QStringLiteral("Close window; quit if last (default)");
}

QString pickerDetail(AltF4Action action) {
    switch (action) {
    case AltF4Action::close:
        return QStringLiteral(
            "Sends ⌘W to close the current tab, document, or window, as the app normally would.");
    case AltF4Action::quit:
        return QStringLiteral("Sends ⌘Q to quit the frontmost app, including all its windows. The app can "
                              "ask to save changes.");
    case AltF4Action::closeWindowOrQuit:
        break;
    }
    return QStringLiteral("Closes the current window; quits the app when it's the last one.");
}

bool altF4PickerEnabled(const Prefs& prefs) {
    return prefs.altF4();
}

} // namespace fenwold

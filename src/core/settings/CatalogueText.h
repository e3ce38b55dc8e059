#pragma once

#include "ports/PrefKey.h"

#include <string_view>

namespace fenwold {

// The sections of the settings window's shortcut list.
enum class CatalogueSection : unsigned char {
    windowsKey,
    windowsSystem,
    ctrl,
    alt,
    functionKeys,
    screenAndMouse,
    remoteAccess,
    finder
};
// In the order the settings window shows them.
inline constexpr CatalogueSection kCatalogueSections[] = {
    CatalogueSection::windowsKey,   CatalogueSection::windowsSystem, CatalogueSection::ctrl,
    CatalogueSection::alt,          CatalogueSection::functionKeys,  CatalogueSection::screenAndMouse,
    CatalogueSection::remoteAccess, CatalogueSection::finder};

// How the settings window lists a shortcut switch: the section it stands in, its keys, what it is
// for and exactly what it does. Declared with the row that carries the shortcut out.
struct CatalogueText {
    CatalogueSection section = CatalogueSection::windowsKey;
    std::u16string_view keys;
    std::u16string_view purpose;
    std::u16string_view detail;
    bool empty() const { return keys.empty(); }
};

// A shortcut switch with its catalogue text.
struct ListedShortcut {
    PrefKey pref;
    CatalogueText text;
};

} // namespace fenwold

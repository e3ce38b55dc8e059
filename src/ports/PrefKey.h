#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace fenwold {

// Every preference of the program's own domain, declared once. The enumeration, the names the
// stores use, the registered defaults, how `Prefs` gates each switch and which switches are rows
// of the shortcut catalogue all come from these two lists.
//
// Switches: X(name, registered default, how it is read)
//   setting    read as stored
//   shortcut   off while the master switch is off; a row of the shortcut catalogue
//   ctrlToCmd  a shortcut that turns Control into Command in software, so also off while the
//              hardware swap of Control and Command already does it
#define FENWOLD_SWITCHES(X)                                                                                  \
    X(shortcutsEnabled, true, setting)                                                                       \
    X(altTab, true, setting)                                                                                 \
    X(dockPeek, true, setting)                                                                               \
    X(snapKeys, true, shortcut)                                                                              \
    X(screenshotKeys, true, shortcut)                                                                        \
    X(wheelZoom, true, shortcut)                                                                             \
    X(launchAtLogin, true, setting)                                                                          \
    X(altF4, true, shortcut)                                                                                 \
    X(ctrlF4, true, shortcut)                                                                                \
    X(taskMgr, true, shortcut)                                                                               \
    X(finderF2, true, shortcut)                                                                              \
    X(finderCut, true, shortcut)                                                                             \
    X(finderDelete, true, shortcut)                                                                          \
    X(finderEnter, true, shortcut)                                                                           \
    X(ctrlClipboard, true, ctrlToCmd)                                                                        \
    X(ctrlSelectAll, true, ctrlToCmd)                                                                        \
    X(ctrlZoom, true, ctrlToCmd)                                                                             \
    X(insertClipboard, true, shortcut)                                                                       \
    X(snapQuadrants, true, shortcut)                                                                         \
    X(snapAssist, true, shortcut)                                                                            \
    X(peekBadges, true, setting)                                                                             \
    X(peekEmpty, true, setting)                                                                              \
    X(parsecMouseFix, true, shortcut)                                                                        \
    X(winD, false, shortcut)                                                                                 \
    X(winE, false, shortcut)                                                                                 \
    X(winL, false, shortcut)                                                                                 \
    X(winM, false, shortcut)                                                                                 \
    X(winNum, false, shortcut)                                                                               \
    X(winTab, false, shortcut)                                                                               \
    X(winR, false, shortcut)                                                                                 \
    X(winV, false, shortcut)                                                                                 \
    X(homeEnd, false, shortcut)                                                                              \
    X(ctrlWord, false, shortcut)                                                                             \
    X(dblClickMax, false, shortcut)                                                                          \
    X(altSpace, false, shortcut)                                                                             \
    X(macHints, false, setting)                                                                              \
    X(swapCtrlCmd, false, setting)                                                                           \
    X(capsGlobe, false, setting)                                                                             \
    X(f19Globe, false, setting)                                                                              \
    X(ctrlLetters, true, ctrlToCmd)

// Values read but never registered: X(name, type of the stored value)
#define FENWOLD_VALUES(X)                                                                                    \
    X(altF4Action, text)                                                                                     \
    X(thumbH, number)                                                                                        \
    X(excludedApps, textList)                                                                                \
    X(welcomeShown, boolean)                                                                                 \
    X(debugLog, boolean)

enum class PrefKey : unsigned char {
#define FENWOLD_PREF_ENUM(name, ...) name,
    FENWOLD_SWITCHES(FENWOLD_PREF_ENUM) FENWOLD_VALUES(FENWOLD_PREF_ENUM)
#undef FENWOLD_PREF_ENUM
};

// How a preference is read and what it holds.
enum class PrefKind : unsigned char { setting, shortcut, ctrlToCmd };
enum class PrefType : unsigned char { boolean, text, number, textList };

struct PrefDeclaration {
    std::string_view name;
    PrefType type = PrefType::boolean;
    bool registered = false; // a Boolean whose default is registered at start-up
    bool defaultValue = false;
    PrefKind kind = PrefKind::setting;
};

inline constexpr PrefDeclaration kPrefDeclarations[] = {
#define FENWOLD_PREF_SWITCH(name, value, kind) {#name, PrefType::boolean, true, value, PrefKind::kind},
#define FENWOLD_PREF_VALUE(name, type) {#name, PrefType::type, false, false, PrefKind::setting},
    FENWOLD_SWITCHES(FENWOLD_PREF_SWITCH) FENWOLD_VALUES(FENWOLD_PREF_VALUE)
#undef FENWOLD_PREF_SWITCH
#undef FENWOLD_PREF_VALUE
};

inline constexpr std::size_t kPrefKeyCount = std::size(kPrefDeclarations);

constexpr const PrefDeclaration& declarationOf(PrefKey key) {
    return kPrefDeclarations[static_cast<std::size_t>(key)];
}

constexpr std::string_view prefKeyName(PrefKey key) {
    return declarationOf(key).name;
}

// A switch with a row in the shortcut catalogue.
constexpr bool isShortcutSwitch(PrefKey key) {
    return declarationOf(key).kind != PrefKind::setting;
}

} // namespace fenwold

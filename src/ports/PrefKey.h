#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace fenwold {

// Every preference of the program's own domain, declared once. The enumeration, the names the
// stores use, the registered defaults, how `Prefs` gates each switch and which switches are rows
// of the shortcut catalogue all come from these two lists. The settings window lists the shortcut
// switches in the order of their lines here, each under the section its catalogue text names.
//
// Switches: X(name, registered default, how it is read)
//   setting    read as stored
//   shortcut   off while the master switch is off; a row of the shortcut catalogue
//   ctrlToCmd  a shortcut that turns Control into Command in software, so also off while the
//              hardware swap of Control and Command already does it
//   winKey     a shortcut of the Windows key that takes the ⌘ shortcut of the same keys away, off
//              on a new Mac; the welcome's one choice turns these on and off together
#define FENWOLD_SWITCHES(X)                                                                                  \
    X(shortcutsEnabled, true, setting)                                                                       \
    X(altTab, true, setting)                                                                                 \
    X(dockPeek, true, setting)                                                                               \
    X(launchAtLogin, true, setting)                                                                          \
    X(peekBadges, true, setting)                                                                             \
    X(peekEmpty, true, setting)                                                                              \
    X(macHints, false, setting)                                                                              \
    X(swapCtrlCmd, false, setting)                                                                           \
    X(capsGlobe, false, setting)                                                                             \
    X(f19Globe, false, setting)                                                                              \
    /* The Windows key (arrives as Command) */                                                               \
    X(snapKeys, true, shortcut)                                                                              \
    X(snapQuadrants, true, shortcut)                                                                         \
    X(snapAssist, true, shortcut)                                                                            \
    X(snapDisplays, true, shortcut)                                                                          \
    X(winZ, false, winKey)                                                                                   \
    X(winD, false, winKey)                                                                                   \
    X(winE, false, winKey)                                                                                   \
    X(winL, false, winKey)                                                                                   \
    X(winM, false, winKey)                                                                                   \
    X(winNum, false, winKey)                                                                                 \
    X(winTab, false, winKey)                                                                                 \
    X(winCtrlArrows, false, winKey)                                                                          \
    X(winCtrlD, false, winKey)                                                                               \
    X(winR, false, winKey)                                                                                   \
    X(winV, false, winKey)                                                                                   \
    /* The Windows key: search, settings, the system */                                                      \
    X(winAlone, false, winKey)                                                                               \
    X(winS, false, winKey)                                                                                   \
    X(winI, false, winKey)                                                                                   \
    X(winA, false, winKey)                                                                                   \
    X(winN, false, winKey)                                                                                   \
    X(winP, false, winKey)                                                                                   \
    X(winPause, false, winKey)                                                                               \
    X(winX, false, winKey)                                                                                   \
    X(winShiftS, false, winKey)                                                                              \
    X(winEmoji, false, winKey)                                                                               \
    X(winSpace, false, winKey)                                                                               \
    /* Ctrl */                                                                                               \
    X(ctrlClipboard, true, ctrlToCmd)                                                                        \
    X(insertClipboard, true, shortcut)                                                                       \
    X(ctrlSelectAll, true, ctrlToCmd)                                                                        \
    X(ctrlLetters, true, ctrlToCmd)                                                                          \
    X(ctrlWebLetters, true, ctrlToCmd)                                                                       \
    X(ctrlSearch, true, ctrlToCmd)                                                                           \
    X(ctrlDigits, true, ctrlToCmd)                                                                           \
    X(ctrlZoom, true, ctrlToCmd)                                                                             \
    X(wheelZoom, true, shortcut)                                                                             \
    X(ctrlWord, false, shortcut)                                                                             \
    X(ctrlParagraph, false, shortcut)                                                                        \
    X(ctrlPageTabs, true, shortcut)                                                                          \
    X(homeEnd, false, shortcut)                                                                              \
    X(ctrlF4, true, shortcut)                                                                                \
    X(taskMgr, true, shortcut)                                                                               \
    X(ctrlAltDelete, true, shortcut)                                                                         \
    /* Alt */                                                                                                \
    X(altF4, true, shortcut)                                                                                 \
    X(altSpace, false, shortcut)                                                                             \
    X(altBackForward, true, shortcut)                                                                        \
    X(altD, true, shortcut)                                                                                  \
    X(altShiftSource, false, shortcut)                                                                       \
    /* Function keys */                                                                                      \
    X(f5Refresh, true, shortcut)                                                                             \
    X(f3FindNext, true, shortcut)                                                                            \
    X(f11FullScreen, true, shortcut)                                                                         \
    X(f1Help, true, shortcut)                                                                                \
    X(contextMenu, true, shortcut)                                                                           \
    /* Screen and mouse */                                                                                   \
    X(screenshotKeys, true, shortcut)                                                                        \
    X(dragSnap, true, shortcut)                                                                              \
    X(dblClickMax, false, shortcut)                                                                          \
    X(greenMaximizes, false, shortcut)                                                                       \
    X(dockMinimizes, false, shortcut)                                                                        \
    /* Remote access */                                                                                      \
    X(parsecMouseFix, true, shortcut)                                                                        \
    /* In Finder */                                                                                          \
    X(finderF2, true, shortcut)                                                                              \
    X(finderEnter, true, shortcut)                                                                           \
    X(finderDelete, true, shortcut)                                                                          \
    X(finderBack, true, shortcut)                                                                            \
    X(finderUp, true, shortcut)                                                                              \
    X(finderInfo, true, shortcut)                                                                            \
    X(finderCut, true, shortcut)

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
enum class PrefKind : unsigned char { setting, shortcut, ctrlToCmd, winKey };
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

// A Windows-key shortcut that hides a ⌘ shortcut (the welcome's choice).
constexpr bool isWinKeySwitch(PrefKey key) {
    return declarationOf(key).kind == PrefKind::winKey;
}

} // namespace fenwold

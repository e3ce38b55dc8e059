#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace fenwold {

// Every key of the program's own preferences domain. An enumeration, so reads on the event-tap
// thread do no string work; stores map it to its name once.
enum class PrefKey : unsigned char {
    shortcutsEnabled,
    altTab,
    dockPeek,
    snapKeys,
    screenshotKeys,
    wheelZoom,
    launchAtLogin,
    altF4,
    ctrlF4,
    taskMgr,
    finderF2,
    finderCut,
    finderDelete,
    finderEnter,
    ctrlClipboard,
    ctrlSelectAll,
    ctrlZoom,
    insertClipboard,
    snapQuadrants,
    snapAssist,
    peekBadges,
    peekEmpty,
    parsecMouseFix,
    winD,
    winE,
    winL,
    winM,
    winNum,
    winTab,
    winR,
    winV,
    homeEnd,
    ctrlWord,
    dblClickMax,
    altSpace,
    macHints,
    swapCtrlCmd,
    capsGlobe,
    f19Globe,
    ctrlLetters,
    // Read but never registered.
    altF4Action,
    thumbH,
    excludedApps,
    welcomeShown, // the first-run welcome has been seen
    debugLog,
};

inline constexpr std::size_t kPrefKeyCount = static_cast<std::size_t>(PrefKey::debugLog) + 1;

inline constexpr std::array<std::string_view, kPrefKeyCount> kPrefKeyNames = {
    "shortcutsEnabled",
    "altTab",
    "dockPeek",
    "snapKeys",
    "screenshotKeys",
    "wheelZoom",
    "launchAtLogin",
    "altF4",
    "ctrlF4",
    "taskMgr",
    "finderF2",
    "finderCut",
    "finderDelete",
    "finderEnter",
    "ctrlClipboard",
    "ctrlSelectAll",
    "ctrlZoom",
    "insertClipboard",
    "snapQuadrants",
    "snapAssist",
    "peekBadges",
    "peekEmpty",
    "parsecMouseFix",
    "winD",
    "winE",
    "winL",
    "winM",
    "winNum",
    "winTab",
    "winR",
    "winV",
    "homeEnd",
    "ctrlWord",
    "dblClickMax",
    "altSpace",
    "macHints",
    "swapCtrlCmd",
    "capsGlobe",
    "f19Globe",
    "ctrlLetters",
    "altF4Action",
    "thumbH",
    "excludedApps",
    "welcomeShown",
    "debugLog",
};

constexpr std::string_view prefKeyName(PrefKey key) {
    return kPrefKeyNames[static_cast<std::size_t>(key)];
}

} // namespace fenwold

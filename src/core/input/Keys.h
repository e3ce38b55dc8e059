#pragma once

#include "ports/KeyCodes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace fenwold {

// With the hardware Control/Command swap on, the physical Windows key produces Control and the
// physical Ctrl key produces Command; the dispatch tests "Win held" and "Ctrl held" through these.
constexpr uint64_t winMask(bool swapCtrlCmd) {
    return swapCtrlCmd ? flag::control : flag::command;
}
constexpr uint64_t ctrlMask(bool swapCtrlCmd) {
    return swapCtrlCmd ? flag::command : flag::control;
}

// Carried in the source user-data field of every synthetic event the program posts ("FNWD").
inline constexpr int64_t kOwnEventMarker = 0x464E5744;

// Terminals keep Ctrl+A/C/V/X for themselves.
inline constexpr std::array<std::string_view, 7> terminalBundleIDs = {
    "com.apple.Terminal",   "com.googlecode.iterm2", "dev.warp.Warp",          "com.mitchellh.ghostty",
    "net.kovidgoyal.kitty", "org.alacritty",         "com.github.wez.wezterm",
};

// The browsers whose own keys the Ctrl rows use: Ctrl+E puts the cursor in the address bar (⌘L in
// each), and Ctrl+J shows the downloads with the shortcut each browser's published list gives for
// it on a Mac. Any other application gets those keys as typed.
struct KnownBrowser {
    std::string_view bundleID;
    char32_t downloadsLetter;
    uint64_t downloadsFlags;
    std::u16string_view downloadsHint;
};
inline constexpr std::array<KnownBrowser, 3> knownBrowsers = {{
    {"com.apple.Safari", U'l', flag::option | flag::command, u"⌥ ⌘ L ~shows ~Safari’s ~downloads"},
    {"com.google.Chrome", U'j', flag::shift | flag::command, u"⇧ ⌘ J ~shows ~Chrome’s ~downloads"},
    {"org.mozilla.firefox", U'j', flag::command, u"⌘ J ~shows ~Firefox’s ~downloads"},
}};

} // namespace fenwold
